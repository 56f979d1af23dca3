#include "ending/ending_rig.h"

#include "engine/startup.h"

namespace dalvo::test {

EndingRig::EndingRig(const EndingScript& script) {
    // An optional "p2" on "hap", a background, the ending with its four epilogue lines,
    // and the closing records that are never reached.
    std::string text = "num,cmd,target,place,doll,face,spare,speaker,text,arg1,arg2,arg3,memo\n";
    if (script.hap != 0) text.append("1001,p2,,,,,,,hap,").append(std::to_string(script.hap)).append(",,,\n");
    text += "1001,,,5,,,,,,,,,\n1001,e,,,,,,,,,,,\n";
    for (const std::string& line : script.lines) text.append("1001,,,,,,,,\"").append(line).append("\",,,,\n");
    folder().write_scenario(text + "9999,q,,,,,,,,,,,\n9999,,,,,,,,,,,,\n", "1001,\"-\",1001\n");
    on_trace = [this](const Json& e) {
        for (const auto& [pattern, name] : wanted_) {
            if (!shots_.contains(name) && matches(e, pattern)) shots_[name] = composed(ui().form);
        }
    };
    Window_load(game());
    // The ending comes long after the title screen has gone.
    ui().Title->visible = false;
}

}  // namespace dalvo::test
