#include "script/engine/builtins.h"
#include "script/engine/run_env.h"
#include "script/engine/script_dialogs.h"

namespace zev::script {

namespace {

using K = TypeKind;

// A dialog box runs the host's event loop, where the user may have asked to stop.
template <class T> T AfterDialog(Interp& c, const Node* at, T answer)
{
    c.CheckStop(at);
    return answer;
}

Value ShowMessageFn(Interp& c, Value* a, size_t, const Node* at)
{
    c.env.dialogs->ShowMessage(a[0].str());
    return AfterDialog(c, at, Value());
}

Value InputBoxFn(Interp& c, Value* a, size_t, const Node* at)
{
    return AfterDialog(c, at, Value::StrMove(c.env.dialogs->InputBox(a[0].str(), a[1].str(), a[2].str())));
}

Value ErrorDlgFn(Interp& c, Value* a, size_t, const Node* at)
{
    c.env.dialogs->ErrorDlg(a[0].str());
    return AfterDialog(c, at, Value());
}

Value InformationDlgFn(Interp& c, Value* a, size_t, const Node* at)
{
    c.env.dialogs->InformationDlg(a[0].str());
    return AfterDialog(c, at, Value());
}

Value QuestionDlgFn(Interp& c, Value* a, size_t, const Node* at)
{
    return AfterDialog(c, at, Value::Bool(c.env.dialogs->QuestionDlg(a[0].str())));
}

Value OkCancelDlgFn(Interp& c, Value* a, size_t, const Node* at)
{
    return AfterDialog(c, at, Value::Bool(c.env.dialogs->OkCancelDlg(a[0].str())));
}

} // namespace

void AddDialogBuiltins(std::vector<Builtin>& t)
{
    t.push_back(Fixed("ShowMessage", { K::String }, K::Void, ShowMessageFn, SIZE_MAX, {}, false));
    t.push_back(Fixed("InputBox", { K::String, K::String, K::String }, K::String, InputBoxFn, SIZE_MAX, {}, false));
    t.push_back(Fixed("ErrorDlg", { K::String }, K::Void, ErrorDlgFn, SIZE_MAX, {}, false));
    t.push_back(Fixed("InformationDlg", { K::String }, K::Void, InformationDlgFn, SIZE_MAX, {}, false));
    t.push_back(Fixed("QuestionDlg", { K::String }, K::Boolean, QuestionDlgFn, SIZE_MAX, {}, false));
    t.push_back(Fixed("OkCancelDlg", { K::String }, K::Boolean, OkCancelDlgFn, SIZE_MAX, {}, false));
}

} // namespace zev::script
