// Files are parsed through a window that moves along the file; every result must be the one the
// whole file in memory gives, wherever symbols fall against the window's edges.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "model/dialog_ops.h"
#include "model/dialog_writer.h"
#include "model/zev_parser.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

struct Reader {
    std::unique_ptr<dialog> d = std::make_unique<dialog>();
    TZEV parser;
    bool ok = false;
    explicit Reader(TGenListType list = glNever)
    {
        parser.SetTarget(d.get());
        parser.GenListWhen = list;
    }
    ~Reader() { Clear(*d); }
    void FromFile(const std::string& path)
    {
        parser.SourceFileName = path;
        ok = parser.Execute();
    }
    void FromText(std::string text)
    {
        parser.SourceFileName.clear();
        parser.Scanner().SrcStream() = std::move(text);
        ok = parser.Execute();
    }
};

// Several megabytes, with symbol lengths that do not divide the window's size.
std::string LargeDialogue(int nodes, int options)
{
    dialog d;
    for (int n = 0; n < nodes; ++n) {
        dlgnode* node = AddNode(d, "Node_" + std::to_string(n) + std::string(static_cast<std::size_t>(n % 7), 'x'));
        node->npc_text = "Line " + std::to_string(n) + std::string(static_cast<std::size_t>(n % 13) * 11, 'a');
        for (int o = 0; o < options; ++o) {
            option* opt = AddOption(*node);
            opt->text = "Answer " + std::to_string(o) + std::string(static_cast<std::size_t>((n + o) % 17), 'b');
            opt->link_target = "Node_" + std::to_string((n + o) % nodes);
        }
    }
    std::string text = SerializeDialogue(d);
    Clear(d);
    return text;
}

TEST(FileSource, AFileReadsAsTheSameBytesInMemoryDo)
{
    test::TempDir dir;
    std::string text = LargeDialogue(160, 220);
    ASSERT_GT(text.size(), 3u << 20);
    std::string path = dir.Write("large.zev", text);

    Reader fromFile;
    fromFile.FromFile(path);
    ASSERT_TRUE(fromFile.ok) << fromFile.parser.IoError();
    ASSERT_TRUE(fromFile.parser.Errors().empty());
    Reader inMemory;
    inMemory.FromText(text);
    ASSERT_TRUE(inMemory.parser.Errors().empty());
    EXPECT_EQ(SerializeDialogue(*fromFile.d), SerializeDialogue(*inMemory.d));
    EXPECT_EQ(SerializeDialogue(*fromFile.d), text);
    EXPECT_TRUE(fromFile.parser.Scanner().SrcStream().empty());
}

TEST(FileSource, SymbolsLongerThanTheWindowAndListingsOfLateErrors)
{
    test::TempDir dir;
    dialog d;
    dlgnode* node = AddNode(d, "Long");
    std::string longText(5u << 20, 'q'); // longer than what the window keeps of a symbol
    longText[12345] = 'Z';
    node->npc_text = longText;
    AddOption(*node)->text = "after the long one";
    std::string text = SerializeDialogue(d);
    Clear(d);

    Reader fromFile;
    fromFile.FromFile(dir.Write("long.zev", text));
    ASSERT_TRUE(fromFile.ok);
    ASSERT_EQ(fromFile.d->node_count, 1);
    EXPECT_EQ(std::string(fromFile.d->nodes[0]->npc_text), longText);
    EXPECT_EQ(fromFile.d->nodes[0]->options[0]->text, "after the long one");

    // An error near the end of a large file: the listing goes back over every line from the start.
    std::string broken = LargeDialogue(40, 150) + "\r\nNode \"late\" {\r\n  bogus\r\n";
    Reader listedFile(glAlways);
    listedFile.FromFile(dir.Write("broken.zev", broken));
    Reader listedText(glAlways);
    listedText.FromText(broken);
    ASSERT_FALSE(listedFile.parser.Errors().empty());
    EXPECT_EQ(listedFile.parser.Errors().size(), listedText.parser.Errors().size());
    EXPECT_EQ(listedFile.parser.Errors().front().Line, listedText.parser.Errors().front().Line);
    EXPECT_EQ(listedFile.parser.ListStream(), listedText.parser.ListStream());
}

TEST(FileSource, FilesThatCannotBeReadOrShrinkOnTheWaySaySo)
{
    test::TempDir dir;
    Reader folder;
    folder.FromFile(dir.path());
    EXPECT_FALSE(folder.ok);
    EXPECT_NE(folder.parser.IoError().find("Cannot read file"), std::string::npos);

    // No size to go by, bytes all the same: read whole, parsed like any text.
    Reader proc;
    proc.FromFile("/proc/self/status");
    EXPECT_TRUE(proc.parser.IoError().empty()) << proc.parser.IoError();
    EXPECT_FALSE(proc.parser.Errors().empty());

    std::string text = LargeDialogue(60, 100);
    std::string path = dir.Write("shrinks.zev", text);
    Reader shrinking;
    // Between opening and the first read: the file loses its second half.
    shrinking.parser.BeforeParse = [&] { std::filesystem::resize_file(path, text.size() / 2); };
    shrinking.FromFile(path);
    EXPECT_FALSE(shrinking.ok);
    EXPECT_NE(shrinking.parser.IoError().find("shorter"), std::string::npos) << shrinking.parser.IoError();
    EXPECT_FALSE(shrinking.parser.Successful());

    // The next read of an intact file is not disturbed by the last one's trouble.
    shrinking.parser.BeforeParse = nullptr;
    shrinking.FromFile(dir.Write("fine.zev", text));
    EXPECT_TRUE(shrinking.ok);
    EXPECT_TRUE(shrinking.parser.Successful());
}

} // namespace
} // namespace zev
