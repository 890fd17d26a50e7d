#pragma once

// "Dialogue termination query": asked, with run-time dialogue editing on, when a chosen player
// option leads nowhere.

#include <string>
#include <string_view>

#include "model/records.h"

namespace zev {

enum class TerminationChoice { EditNode, Exit };

class TerminationQueryModel {
public:
    static constexpr std::string_view kCaption = "Dialogue termination query";
    static constexpr std::string_view kText
        = "The player option you selected terminates the dialogue. \r\nDo you wish to edit the node or exit?";
    static constexpr std::string_view kTargetCaption = "Target\r\nnode:";
    static constexpr std::string_view kNotesCaption = "Notes:";
    static constexpr std::string_view kEditNodeCaption = "Edit node";
    static constexpr std::string_view kExitCaption = "Exit";
    static constexpr std::string_view kEmptyTarget = "<empty>";
    static constexpr std::string_view kCombatNotes
        = "This option triggers combat by setting the critter to hostile towards the player.";
    static constexpr std::string_view kNullLinkNotes = "The player option node link was null.";
    static constexpr std::string_view kFixedEndNotes
        = "This is a pre-defined dialogue termination node and therefore it can't be edited. Instead, you can edit "
          "the node you got here from. Dialogue will continue after updating.";

    // Fills the window for the option that led nowhere.
    void Fill(const option& o);
    void ClearNotes() { m_notes.clear(); }

    // "done" and "combat" end a dialogue on purpose; any other target is an open link.
    static bool IsFixedEnd(std::string_view linkTarget);

    const std::string& targetNode() const { return m_target; }
    const std::string& notes() const { return m_notes; }
    const std::string& editButtonCaption() const { return m_editCaption; }
    bool editButtonEnabled() const { return m_editEnabled; }

private:
    std::string m_target;
    std::string m_notes;
    std::string m_editCaption { kEditNodeCaption };
    bool m_editEnabled = true;
};

// Shows the query modally. "Edit node" is the default button; closing the window counts as Exit.
class TerminationQueryView {
public:
    virtual ~TerminationQueryView() = default;
    virtual TerminationChoice exec(TerminationQueryModel& model) = 0;
};

} // namespace zev
