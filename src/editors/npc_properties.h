#pragma once

// "NPC Properties": the texts of the NPC that belong to the whole dialogue (the exported script's
// header comments and the look descriptions). The controls are copies; only OK stores them.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "model/records.h"

namespace zev {

class App;
class NpcPropertiesModel;

// Shows the window modally; true when it was closed with OK.
class NpcPropertiesView {
public:
    virtual ~NpcPropertiesView() = default;
    virtual bool exec(NpcPropertiesModel& model) = 0;
};

// The six fields in the order of the window.
enum class NpcField { Name, Location, Notes, Unknown, Known, Detailed };

class NpcPropertiesModel {
public:
    static constexpr std::string_view kCaption = "NPC Properties";
    static constexpr std::string_view kHeaderGroup = "Descriptions for script header comments";
    static constexpr std::string_view kLookGroup = "NPC look descriptions";
    static constexpr std::size_t kFieldCount = 6;

    // A field's place in the window and in the dialogue record.
    struct FieldInfo {
        NpcField field;
        std::string_view label;
        bool multiLine; // a memo; else one line
        bool lookGroup; // in "NPC look descriptions"; else in the header group
        HostString dialog::*member;
    };
    static constexpr std::array<FieldInfo, kFieldCount> kFields = { {
        { NpcField::Name, "NPC name", false, false, &dialog::npc_name },
        { NpcField::Location, "Location", false, false, &dialog::location },
        { NpcField::Notes, "Notes", true, false, &dialog::description },
        { NpcField::Unknown, "Unknown (not spoken to NPC)", true, true, &dialog::unknown_desc },
        { NpcField::Known, "Known (spoken to NPC before)", true, true, &dialog::known_desc },
        { NpcField::Detailed, "Detailed look description", true, true, &dialog::detailed_desc },
    } };
    static const FieldInfo& Info(NpcField field) { return kFields[static_cast<std::size_t>(field)]; }

    explicit NpcPropertiesModel(App& app);
    NpcPropertiesModel(const NpcPropertiesModel&) = delete;
    NpcPropertiesModel& operator=(const NpcPropertiesModel&) = delete;

    void SetView(NpcPropertiesView* view) { m_view = view; }

    // "NPC properties" of the main menu: the controls filled from the dialogue, the window shown
    // modally, and with OK the texts stored. True when closed with OK.
    bool Open();
    // The controls filled from the dialogue without showing the window.
    void Begin();
    // OK: the dialogue marked modified, the six texts stored, the plug-ins told.
    void Apply();

    const std::string& text(NpcField field) const { return m_texts[static_cast<std::size_t>(field)]; }
    void SetText(NpcField field, std::string text) { m_texts[static_cast<std::size_t>(field)] = std::move(text); }

private:
    App& m_app;
    NpcPropertiesView* m_view = nullptr;
    std::array<std::string, kFieldCount> m_texts;
};

} // namespace zev
