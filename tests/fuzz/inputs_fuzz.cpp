// Input scripts of velnor-tool race from anywhere: parsed.
#include "race/input_script.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const velnor::InputScript script =
        velnor::parseInputScript(std::string_view(reinterpret_cast<const char*>(data), size));
    for (std::size_t i = 1; i < script.events.size(); ++i)
        if (script.events[i].time < script.events[i - 1].time)
            __builtin_trap(); // the events must come in time order
    return 0;
}
