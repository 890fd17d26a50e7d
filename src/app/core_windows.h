#pragma once

// The windows the core may open on its own: the editors a test run, a script or a plug-in reaches,
// the list picker, and the desktop's launcher. The base class is the default of a front end
// without windows: Has() is false, nothing is shown, every edit counts as cancelled.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/exception_report.h"
#include "base/launch.h"

namespace zev {

enum class CoreWindow { NodeEditor, PlayerOptionEditor, FloatNodeEditor, ListPicker, TimeEventCodeEditor };

class CoreWindows {
public:
    virtual ~CoreWindows() = default;
    virtual bool Has(CoreWindow) const { return false; }

    // `EditNodeAt`: the node dialog, modal, on the node at that index. True when closed with OK.
    virtual bool EditNodeAt(int) { return false; }
    // "Add node": a new node, its name field preset. True when closed with OK (the node exists
    // then); on Cancel the new node is gone again.
    virtual bool AddNode(std::string_view) { return false; }
    // The name the node dialog's name checks accepted last.
    virtual std::string LastAcceptedNodeName() const { return {}; }
    // The player-option editor on an option of a node; it reports an unknown node itself.
    virtual void EditPlayerOption(const std::string&, int) { }
    // The float node strings editor; true when closed with OK.
    virtual bool EditFloatNode(int) { return false; }
    // The list picker: the chosen item's index, or nothing when cancelled.
    virtual std::optional<int> SelectItem(const std::string&, const std::string&, const std::vector<std::string>&)
    {
        return std::nullopt;
    }
    // Inserts at the caret of the timed-event data editor's code box.
    virtual void InsertTimeEventCode(const std::string&) { }
    // An item under "Insert command" of the timed-event data editor; tag = table index.
    virtual void AddTimeEventMenuItem(const std::string&, const std::string&, int) { }

    // The general error display (the exception report window); false when there is none and the
    // App shows an error box instead.
    virtual bool ShowErrorReport(const ExceptionReport&) { return false; }

    // Starts a program or opens a document without a shell; true when it was started.
    virtual bool Launch(const LaunchRequest& request) { return LaunchFile(request); }
};

} // namespace zev
