#include "core/platform/messages.h"

namespace restash {

const char* CaptionOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning: return "Warning";
        case MessageKind::Error: return "Error";
        case MessageKind::Information: return "Information";
        case MessageKind::Confirmation: return "Confirm";
    }
    return "";
}

std::string WithNewlines(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace restash
