#include "doubles/memory_dialogs.h"

namespace setup {

std::vector<std::string> MemoryDialogs::Texts(Kind kind) const {
    std::vector<std::string> texts;
    for (const Shown& shown : shown_)
        if (shown.kind == kind) texts.push_back(shown.text);
    return texts;
}

void MemoryDialogs::Record(Kind kind, std::string_view text) {
    shown_.push_back({kind, std::string(text)});
    if (hook_) hook_(shown_.back());
}

bool MemoryDialogs::AskWarning(std::string_view text) {
    Record(Kind::Warning, text);
    if (answers_.empty()) return false;
    bool yes = answers_.front();
    answers_.pop_front();
    return yes;
}

}  // namespace setup
