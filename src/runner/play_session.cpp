#include "runner/play_session.h"

#include "app/app.h"
#include "model/node_resolution.h"
#include "runner/run_session.h"
#include "runner/run_support.h"

namespace zev {

PlayResult PlayHeadless(App& app, RunSession& session, const PlayRequest& request)
{
    PlayResult result;
    ResolveLinks(app.dlg());
    const int before = session.transcripts().count();
    if (!session.StartAt(request.startNode)) {
        result.error = "the run did not start at node '" + request.startNode + "'";
        return result;
    }
    result.started = true;
    result.completed = true;
    for (std::size_t n = 0; n < request.choices.size(); ++n) {
        const int32_t index = request.choices[n];
        if (!session.running()) {
            result.completed = false;
            result.error = "the run ended before choice " + std::to_string(n + 1) + " (" + std::to_string(index) + ")";
            break;
        }
        if (!session.IsListed(index)) {
            const dlgnode* cur = NodeAtIndex(app.dlg(), session.currentNode());
            std::string node = cur ? cur->name.str() : std::string();
            result.completed = false;
            result.error = "option " + std::to_string(index) + " is not listed at node '" + node + "'";
            break;
        }
        session.Choose(index);
    }
    session.StopRun();
    if (session.transcripts().count() > before) {
        result.recorded = true;
        result.lines = session.transcripts().list().back().lines;
    }
    return result;
}

} // namespace zev
