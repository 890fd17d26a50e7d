#pragma once

// What the test run needs of the dialogue editor: the node dialog on an existing node, and
// "Add node" with a preset name. The editor windows implement it; tests use a fake.

#include <string>
#include <string_view>

namespace zev {

class NodeEditor {
public:
    virtual ~NodeEditor() = default;
    // `EditNodeAt`: the node dialog, modal, on the node at that index. True when closed with OK.
    virtual bool EditNodeAt(int nodeIndex) = 0;
    // "Add node": a new node, its name field preset. True when closed with OK (the node exists
    // then); on Cancel the new node is gone again.
    virtual bool AddNode(std::string_view presetName) = 0;
    // The name the node dialog's name checks accepted last.
    virtual std::string LastAcceptedNodeName() const = 0;
};

} // namespace zev
