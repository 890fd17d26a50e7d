#include <algorithm>
#include <fstream>

#include "script/engine/classes.h"
#include "script/engine/interpreter.h"
#include "script/engine/nodes.h"
#include "script/engine/run_env.h"
#include "script/engine/text_util.h"

namespace zev::script {

namespace {

std::vector<std::string>& Items(Instance* self)
{
    return static_cast<StringListObj*>(self)->items;
}

size_t CheckIndex(Interp& c, Instance* self, int64_t i, const Node* at, bool allowEnd = false)
{
    int64_t n = static_cast<int64_t>(Items(self).size());
    if (i < 0 || i > n || (i == n && !allowEnd))
        c.Fail(at, "List index " + std::to_string(i) + " out of bounds (0.." + std::to_string(n - 1) + ")");
    return static_cast<size_t>(i);
}

Value Create(Interp&, Value*, const Node*)
{
    auto* o = new StringListObj;
    o->cls = StringListClass();
    return Value::FromObj(Tag::Object, o);
}

Value Add(Interp& c, Instance* self, Value* a, const Node* at)
{
    c.Charge(at, a[0].str().size());
    Items(self).emplace_back(a[0].str());
    return Value::Int(static_cast<int64_t>(Items(self).size()) - 1);
}

Value Insert(Interp& c, Instance* self, Value* a, const Node* at)
{
    size_t i = CheckIndex(c, self, a[0].i, at, true);
    Items(self).insert(Items(self).begin() + static_cast<std::ptrdiff_t>(i), std::string(a[1].str()));
    return Value();
}

Value Delete(Interp& c, Instance* self, Value* a, const Node* at)
{
    size_t i = CheckIndex(c, self, a[0].i, at);
    Items(self).erase(Items(self).begin() + static_cast<std::ptrdiff_t>(i));
    return Value();
}

Value Clear(Interp&, Instance* self, Value*, const Node*)
{
    Items(self).clear();
    return Value();
}

Value Count(Interp&, Instance* self, Value*, const Node*)
{
    return Value::Int(static_cast<int64_t>(Items(self).size()));
}

Value GetString(Interp& c, Instance* self, Value* a, const Node* at)
{
    return Value::Str(Items(self)[CheckIndex(c, self, a[0].i, at)]);
}

void SetString(Interp& c, Instance* self, Value* a, Value v, const Node* at)
{
    Items(self)[CheckIndex(c, self, a[0].i, at)] = v.str();
}

uint64_t TextSize(const std::vector<std::string>& items)
{
    uint64_t n = 0;
    for (auto& s : items)
        n += s.size() + 2;
    return n;
}

bool NeedsQuotes(std::string_view s)
{
    return s.empty() || std::any_of(s.begin(), s.end(), [](char ch) {
        return static_cast<unsigned char>(ch) <= ' ' || ch == ',' || ch == '"';
    });
}

uint64_t CommaTextSize(const std::vector<std::string>& items)
{
    uint64_t n = items.empty() ? 0 : items.size() - 1;
    for (auto& s : items)
        n += NeedsQuotes(s) ? s.size() + static_cast<uint64_t>(std::count(s.begin(), s.end(), '"')) + 2 : s.size();
    return n;
}

Value GetText(Interp& c, Instance* self, Value*, const Node* at)
{
    c.CheckBytes(at, TextSize(Items(self)));
    std::string t = JoinText(Items(self));
    c.Charge(at, t.size());
    return Value::StrMove(std::move(t));
}

void SetText(Interp&, Instance* self, Value*, Value v, const Node*)
{
    Items(self) = SplitText(v.str());
}

Value GetCommaText(Interp& c, Instance* self, Value*, const Node* at)
{
    c.CheckBytes(at, CommaTextSize(Items(self)));
    return Value::StrMove(JoinCommaText(Items(self)));
}

void SetCommaText(Interp&, Instance* self, Value*, Value v, const Node*)
{
    Items(self) = SplitCommaText(v.str());
}

Value IndexOf(Interp&, Instance* self, Value* a, const Node*)
{
    auto& items = Items(self);
    for (size_t i = 0; i < items.size(); ++i)
        if (EqualsNoCase(items[i], a[0].str()))
            return Value::Int(static_cast<int64_t>(i));
    return Value::Int(-1);
}

Value Sort(Interp&, Instance* self, Value*, const Node*)
{
    auto& items = Items(self);
    std::stable_sort(
        items.begin(), items.end(), [](const std::string& x, const std::string& y) { return CompareNoCase(x, y) < 0; });
    return Value();
}

// The line "name=value" whose name matches without regard to case, or -1.
int64_t FindName(const std::vector<std::string>& items, std::string_view name)
{
    for (size_t i = 0; i < items.size(); ++i) {
        auto eq = items[i].find('=');
        if (eq != std::string::npos && EqualsNoCase(std::string_view(items[i]).substr(0, eq), name))
            return static_cast<int64_t>(i);
    }
    return -1;
}

Value GetValue(Interp&, Instance* self, Value* a, const Node*)
{
    auto& items = Items(self);
    int64_t i = FindName(items, a[0].str());
    if (i < 0)
        return Value::Str("");
    auto& line = items[static_cast<size_t>(i)];
    return Value::Str(std::string_view(line).substr(line.find('=') + 1));
}

// Setting an empty value removes the line, as Pascal's string lists do.
void SetValue(Interp& c, Instance* self, Value* a, Value v, const Node* at)
{
    auto& items = Items(self);
    c.CheckBytes(at, uint64_t(a[0].str().size()) + 1 + v.str().size());
    int64_t i = FindName(items, a[0].str());
    std::string line = std::string(a[0].str()) + "=" + std::string(v.str());
    if (v.str().empty()) {
        if (i >= 0)
            items.erase(items.begin() + i);
    } else if (i >= 0) {
        items[static_cast<size_t>(i)] = line;
    } else {
        items.push_back(line);
    }
}

Value LoadFromFile(Interp& c, Instance* self, Value* a, const Node* at)
{
    std::string path(a[0].str());
    if (!c.env.fileAccess)
        c.Fail(at, "File access is disabled");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        c.Fail(at, "Cannot open file \"" + path + "\"");
    // In pieces, so a file longer than the size cap (or endless, as a device) is refused as it is
    // read; the list keeps its lines then.
    std::string text;
    char buf[16384];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        auto got = static_cast<size_t>(in.gcount());
        c.Reserve(at, text, uint64_t(text.size()) + got);
        text.append(buf, got);
        c.Charge(at, got);
    }
    Items(self) = SplitText(text);
    return Value();
}

Value SaveToFile(Interp& c, Instance* self, Value* a, const Node* at)
{
    std::string path(a[0].str());
    if (!c.env.fileAccess)
        c.Fail(at, "File access is disabled");
    // Line by line: the whole text could be longer than one value may be.
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (auto& line : Items(self)) {
        if (!out)
            break;
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
        out.write("\r\n", 2);
    }
    out.close();
    if (!out)
        c.Fail(at, "Cannot write file \"" + path + "\"");
    return Value();
}

MemberInfo Method(std::string_view name, std::vector<TypeKind> params, TypeKind result,
    Value (*fn)(Interp&, Instance*, Value*, const Node*))
{
    MemberInfo m;
    m.name = name;
    m.params = std::move(params);
    m.result = result;
    m.get = fn;
    return m;
}

MemberInfo Property(std::string_view name, std::vector<TypeKind> index, TypeKind result,
    Value (*get)(Interp&, Instance*, Value*, const Node*), void (*set)(Interp&, Instance*, Value*, Value, const Node*))
{
    MemberInfo m;
    m.kind = MemberInfo::Kind::Property;
    m.name = name;
    m.indexed = !index.empty();
    m.params = std::move(index);
    m.result = result;
    m.get = get;
    m.set = set;
    return m;
}

} // namespace

void AddStringListMembers(ClassInfo& cls)
{
    MemberInfo create;
    create.kind = MemberInfo::Kind::Constructor;
    create.name = "Create";
    create.result = TypeKind::Class;
    create.construct = Create;
    cls.members.push_back(create);
    using K = TypeKind;
    cls.members.push_back(Method("Add", { K::String }, K::Integer, Add));
    cls.members.push_back(Method("Insert", { K::Integer, K::String }, K::Void, Insert));
    cls.members.push_back(Method("Delete", { K::Integer }, K::Void, Delete));
    cls.members.push_back(Method("Clear", {}, K::Void, Clear));
    cls.members.push_back(Method("IndexOf", { K::String }, K::Integer, IndexOf));
    cls.members.push_back(Method("Sort", {}, K::Void, Sort));
    cls.members.push_back(Method("LoadFromFile", { K::String }, K::Void, LoadFromFile));
    cls.members.push_back(Method("SaveToFile", { K::String }, K::Void, SaveToFile));
    cls.members.push_back(Property("Count", {}, K::Integer, Count, nullptr));
    MemberInfo strings = Property("Strings", { K::Integer }, K::String, GetString, SetString);
    strings.isDefault = true;
    cls.members.push_back(strings);
    cls.members.push_back(Property("Text", {}, K::String, GetText, SetText));
    cls.members.push_back(Property("CommaText", {}, K::String, GetCommaText, SetCommaText));
    cls.members.push_back(Property("Values", { K::String }, K::String, GetValue, SetValue));
}

std::string JoinText(const std::vector<std::string>& items)
{
    std::string t;
    t.reserve(static_cast<size_t>(TextSize(items)));
    for (auto& s : items) {
        t += s;
        t += "\r\n";
    }
    return t;
}

std::vector<std::string> SplitText(std::string_view text)
{
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        size_t j = i;
        while (j < text.size() && text[j] != '\r' && text[j] != '\n')
            ++j;
        out.emplace_back(text.substr(i, j - i));
        if (j < text.size() && text[j] == '\r') {
            ++j;
            if (j < text.size() && text[j] == '\n')
                ++j;
        } else if (j < text.size()) {
            ++j;
        }
        i = j;
    }
    return out;
}

std::string JoinCommaText(const std::vector<std::string>& items)
{
    std::string t;
    t.reserve(static_cast<size_t>(CommaTextSize(items)));
    for (size_t n = 0; n < items.size(); ++n) {
        const std::string& s = items[n];
        if (n)
            t += ',';
        if (!NeedsQuotes(s)) {
            t += s;
            continue;
        }
        t += '"';
        for (char ch : s) {
            t += ch;
            if (ch == '"')
                t += '"';
        }
        t += '"';
    }
    return t;
}

std::vector<std::string> SplitCommaText(std::string_view text)
{
    std::vector<std::string> out;
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
            ++i;
    };
    skipBlanks();
    while (i < text.size()) {
        std::string item;
        if (text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < text.size() && text[i] != ',' && static_cast<unsigned char>(text[i]) > ' ')
                item += text[i++];
        }
        out.push_back(item);
        skipBlanks();
        if (i < text.size() && text[i] == ',') {
            ++i;
            skipBlanks();
            if (i >= text.size())
                out.emplace_back();
        }
    }
    return out;
}

} // namespace zev::script
