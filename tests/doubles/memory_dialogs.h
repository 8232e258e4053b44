// Message dialogs for the native tests: every dialog is recorded with its kind and text, and the
// warning question is answered from a script (No once the script is used up).
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace setup {

class MemoryDialogs final : public Dialogs {
public:
    enum class Kind { Warning, Error, Plain };
    struct Shown {
        Kind kind;
        std::string text;
        bool operator==(const Shown&) const = default;
    };

    void AnswerNext(bool yes) { answers_.push_back(yes); }
    // Runs whenever a dialog opens, while it is "on screen".
    void OnShow(std::function<void(const Shown&)> hook) { hook_ = std::move(hook); }
    const std::vector<Shown>& ShownDialogs() const { return shown_; }
    std::vector<std::string> Texts(Kind kind) const;

    bool AskWarning(std::string_view text) override;
    void ShowError(std::string_view text) override { Record(Kind::Error, text); }
    void ShowPlain(std::string_view text) override { Record(Kind::Plain, text); }

private:
    void Record(Kind kind, std::string_view text);

    std::deque<bool> answers_;
    std::function<void(const Shown&)> hook_;
    std::vector<Shown> shown_;
};

}  // namespace setup
