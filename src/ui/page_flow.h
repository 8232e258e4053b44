// The wizard's page changes in one place: which page an event leads to from the page shown.
// The handlers tell the flow what happened; only the window's Go switches pages.
#pragma once

#include <optional>

namespace setup::ui {

enum class FlowEvent {
    LicenceAccepted,  // the accept button of page 1
    PathAccepted,     // the next button of page 2, with the directory checked and created
    CopyCancelled,    // the cancel button of page 3
    RunEnded,         // the extraction run has ended
};

// The page to show next, or nothing when the event changes no page there.
std::optional<int> NextPage(int current, FlowEvent event);

}  // namespace setup::ui
