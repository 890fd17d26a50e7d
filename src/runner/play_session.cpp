#include "runner/play_session.h"

#include "app/app.h"
#include "model/node_resolution.h"
#include "runner/run_support.h"
#include "runner/test_runner.h"

namespace zev {

PlayResult PlayHeadless(App& app, const PlayRequest& request)
{
    PlayResult result;
    ResolveLinks(app.dlg());
    TestRunner runner(app);
    runner.SetStartNodeText(request.startNode);
    runner.StartTestRun();
    if (!runner.running() && runner.transcripts().count() == 0) {
        result.error = "the run did not start at node '" + request.startNode + "'";
        return result;
    }
    result.started = true;
    result.completed = true;
    for (std::size_t n = 0; n < request.choices.size(); ++n) {
        const int32_t index = request.choices[n];
        if (!runner.running()) {
            result.completed = false;
            result.error = "the run ended before choice " + std::to_string(n + 1) + " (" + std::to_string(index) + ")";
            break;
        }
        int row = runner.RowOfOption(index);
        if (row < 0) {
            const dlgnode* cur = NodeAtIndex(app.dlg(), runner.currentNodeIndex());
            std::string node = cur ? cur->name.str() : std::string();
            result.completed = false;
            result.error = "option " + std::to_string(index) + " is not listed at node '" + node + "'";
            break;
        }
        runner.ChooseOption(row);
    }
    if (runner.running())
        runner.StopTestRun();
    if (runner.transcripts().count() > 0) {
        result.recorded = true;
        result.lines = runner.transcripts().list().back().lines;
    }
    return result;
}

} // namespace zev
