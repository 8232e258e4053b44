#include "ui/page_flow.h"

namespace setup::ui {

std::optional<int> NextPage(int current, FlowEvent event) {
    switch (event) {
        case FlowEvent::LicenceAccepted:
            if (current == 1) return 2;
            break;
        case FlowEvent::PathAccepted:
            if (current == 2) return 3;
            break;
        case FlowEvent::CopyCancelled:
        case FlowEvent::RunEnded:
            if (current == 3) return 4;
            break;
    }
    return std::nullopt;
}

}  // namespace setup::ui
