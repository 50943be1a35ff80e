// vintrel click FILE: finds the recorded window and item again and clicks
// the centre of the item's rectangle with real input; --double and --right
// for the other clicks. This is what a controller is for: record once, find
// and act in a later run.
#include <CLI/CLI.hpp>

#include "client/MouseInput.h"
#include "tool/CommandRegistry.h"
#include "tool/RecordedItemSearch.h"
#include "tool/ToolOutput.h"

namespace {

struct ClickCommand {
    std::string path;
    unsigned nParam = 0;
    bool bDouble = false;
    bool bRight = false;

    int Run() {
        RecordedItemSearch search;
        std::string error;
        const int code = search.Run(path, nParam, &error);
        if (code == 1) return CToolOutput::Fail(error);
        if (code == 3) return CToolOutput::Fail("the recorded window is ambiguous: " + search.Text(false), 3);
        if (code == 2 || !search.description.hasItem) {
            return CToolOutput::Fail(search.description.hasItem ? "the recorded item is not there: " + search.Text(false)
                                                                 : "the record holds no item to click",
                                     2);
        }
        const POINT centre = search.item.ScreenCentre();
        // The window comes to the front first, so that the click lands on it.
        SetForegroundWindow(GetAncestor(search.match.hwnd, GA_ROOT));
        if (!ClickAt(centre, bRight ? MouseButton::Right : MouseButton::Left, bDouble)) {
            return CToolOutput::Fail("the click at (" + std::to_string(centre.x) + ", " + std::to_string(centre.y) +
                                     ") was not taken");
        }
        const char* pszClick = bDouble ? "double-clicked" : bRight ? "right-clicked" : "clicked";
        nlohmann::json result = search.Json(false);
        result["click"] = {{"x", centre.x}, {"y", centre.y}, {"button", bRight ? "right" : "left"}, {"double", bDouble}};
        CToolOutput::Emit(result, search.Text(false) + "\n" + pszClick + " at (" + std::to_string(centre.x) + ", " +
                                      std::to_string(centre.y) + ")");
        return 0;
    }
};

ToolCommandRegistrar s_click({"click", "find a recorded item again and click it", [](CLI::App& app) {
                                  auto command = std::make_shared<ClickCommand>();
                                  app.add_option("file", command->path, "the record")->required();
                                  app.add_option("--param", command->nParam, "the search argument");
                                  app.add_flag("--double", command->bDouble, "double-click");
                                  app.add_flag("--right", command->bRight, "click with the right button");
                                  return [command] { return command->Run(); };
                              }});

}  // namespace
