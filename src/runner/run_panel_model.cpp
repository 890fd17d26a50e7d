#include "runner/run_panel_model.h"

#include "app/app.h"
#include "app/settings.h"
#include "runner/run_support.h"

namespace zev {

RunPanelModel::RunPanelModel(App& app, RunSession& session)
    : m_app(app)
    , m_session(session)
    , m_transcriptWindow(app, session.transcripts())
    , m_transcriptList(session.transcripts(), m_transcriptWindow)
{
    m_changedId = session.changed.Connect([this] { Sync(); });
    m_startedId = session.started.Connect([this](const std::string& node) { m_panel.startNodeText = node; });
    m_stoppedId = session.stopped.Connect([this](int t) {
        if (ShowLastDialogue(m_app.config()))
            m_transcriptWindow.ShowTranscriptInWindow(t);
    });
    m_refreshId = app.editorListsRefreshed.Connect([this] { RefreshStartNodeBox(); });
    RefreshStartNodeBox();
}

RunPanelModel::~RunPanelModel()
{
    m_session.changed.Disconnect(m_changedId);
    m_session.started.Disconnect(m_startedId);
    m_session.stopped.Disconnect(m_stoppedId);
    m_app.editorListsRefreshed.Disconnect(m_refreshId);
}

void RunPanelModel::RefreshStartNodeBox()
{
    m_panel.startNodeItems.clear();
    const dialog& d = m_app.dlg();
    for (int32_t i = 0; i < d.node_count && i < kMaxNodes; ++i)
        m_panel.startNodeItems.push_back(d.nodes[i] ? d.nodes[i]->name.str() : std::string());
    m_panel.startNodeText = m_panel.startNodeItems.empty() ? std::string() : m_panel.startNodeItems.front();
    changed.Emit();
}

void RunPanelModel::SetStartNodeText(std::string text)
{
    m_panel.startNodeText = std::move(text);
    changed.Emit();
}

void RunPanelModel::Sync()
{
    const bool on = m_session.running();
    const NodeView& view = m_session.view();
    m_panel.runButton.enabled = !on;
    m_panel.stopButton.enabled = on;
    m_panel.backButton.enabled = m_session.canGoBack();
    m_panel.forwardButton.enabled = m_session.canGoForward();
    m_panel.editButton.visible = on;
    m_panel.currentNodeCaptionVisible = on;
    m_panel.nodeLabelVisible = on;
    m_panel.nodeLabel = on ? view.name : std::string();
    m_panel.npcLine = on ? view.npcLine : std::string();
    m_panel.nodeNotes = on ? view.notes : std::string();
    m_panel.options = on ? view.options : std::vector<OptionRow> {};
    m_panel.hiddenOptions = on && view.hidden > 0
        ? "There are " + std::to_string(view.hidden) + " hidden player options."
        : std::string();
    // The notes described an option of the node shown before.
    m_panel.optionNotes.clear();
    changed.Emit();
}

int RunPanelModel::RowOfOption(int32_t optionIndex) const
{
    for (std::size_t r = 0; r < m_panel.options.size(); ++r)
        if (m_panel.options[r].index == optionIndex)
            return static_cast<int>(r);
    return -1;
}

void RunPanelModel::DescribeOption(int row)
{
    if (!m_session.running() || row < 0 || row >= static_cast<int>(m_panel.options.size()))
        return;
    if (m_session.currentNode() == -1) {
        m_app.log().Log("NodeIndex = -1!");
        return;
    }
    if (!NodeAtIndex(m_app.dlg(), m_session.currentNode())) {
        m_session.ShowCurrentNode(); // ends the run: the node is gone
        return;
    }
    std::string text = m_session.DescribeOption(m_panel.options[static_cast<std::size_t>(row)].index);
    if (text.empty())
        return;
    m_panel.optionNotes = std::move(text);
    changed.Emit();
}

void RunPanelModel::ChooseOption(int row)
{
    if (!m_session.running() || row < 0 || row >= static_cast<int>(m_panel.options.size()))
        return;
    m_session.Choose(m_panel.options[static_cast<std::size_t>(row)].index);
}

} // namespace zev
