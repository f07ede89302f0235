// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/errors.h"

namespace qir {

std::string formatMessage(std::string_view pattern, std::string_view argument) {
    std::string text(pattern);
    for (std::string_view placeholder : {"%s", "%d"}) {
        if (auto at = text.find(placeholder); at != std::string::npos) {
            text.replace(at, placeholder.size(), argument);
            break;
        }
    }
    return text;
}

std::string withFullStop(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return text;
}

std::string endingInFullStop(std::string_view message) {
    std::string text(message);
    if (!text.ends_with('.')) {
        text += '.';
    }
    return text;
}

}  // namespace qir
