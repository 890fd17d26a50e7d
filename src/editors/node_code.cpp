#include "editors/node_code.h"

#include "editors/parameter_input.h"
#include "editors/value_text.h"

namespace zev {

NodeCodeEditorModel::NodeCodeEditorModel(App&, const CodeSnippetTable& presets, ParameterInputModel& params)
    : m_presetTable(presets)
    , m_params(params)
{
}

std::optional<std::string> NodeCodeEditorModel::Run(NodeCodeEditorView* view, std::string customCode)
{
    Begin(std::move(customCode));
    if (!view || !view->exec(*this))
        return std::nullopt;
    return Accept();
}

void NodeCodeEditorModel::Begin(std::string customCode)
{
    m_code = std::move(customCode);
    m_presets.clear();
    for (const CodeSnippet& s : m_presetTable)
        m_presets.push_back(s.desc);
    m_preset = -1;
    changed.Emit();
}

std::string NodeCodeEditorModel::Accept() const
{
    return WithoutFinalBreak(m_code);
}

void NodeCodeEditorModel::ChoosePreset(int preset)
{
    m_preset = preset >= 0 && preset < static_cast<int>(m_presets.size()) ? preset : -1;
    changed.Emit();
}

void NodeCodeEditorModel::Create()
{
    if (m_preset < 0 || m_preset >= m_presetTable.count())
        return;
    if (std::optional<std::string> code = m_params.Run(m_presetTable[m_preset], m_paramView)) {
        m_code = std::move(*code);
        changed.Emit();
    }
}

} // namespace zev
