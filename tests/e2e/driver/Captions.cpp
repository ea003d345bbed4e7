#include <sstream>

#include "Driver.h"

namespace e2e {

std::optional<std::vector<CaptionExtent>> MeasureCaptions(HWND window) {
    auto text = AskProgram(window, "TarveskE2E.MeasureCaptions", 0);
    if (!text || text->rfind("captions\n", 0) != 0) return std::nullopt;
    std::vector<CaptionExtent> captions;
    std::istringstream lines(text->substr(9));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        CaptionExtent caption;
        if (fields >> caption.id >> caption.kind >> caption.text.cx >> caption.text.cy >>
            caption.client.cx >> caption.client.cy >> caption.dpi)
            captions.push_back(caption);
    }
    return captions;
}

}  // namespace e2e
