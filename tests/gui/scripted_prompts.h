#pragma once
// Prompts answered by a test: each box takes the next scripted answer and is recorded, so the
// test can say which boxes a command showed, with which texts.
#include <deque>
#include <optional>
#include <vector>

#include "prompts.h"

class ScriptedPrompts final : public Prompts {
public:
    enum class Kind { inform, confirm, askText };
    struct Call {
        Kind kind;
        QString title;
        QString text;     // the message, or the input box's prompt
        QString initial;  // the input box's initial text
    };

    void answerText(std::optional<QString> answer) { texts_.push_back(std::move(answer)); }
    void answerConfirm(bool ok) { confirms_.push_back(ok); }

    // The boxes shown since the last call, and whether every one of them had an answer.
    std::vector<Call> takeCalls() { return std::exchange(calls_, {}); }
    bool allAnswered() const { return !unanswered_ && texts_.empty() && confirms_.empty(); }

    void inform(QWidget*, const QString& title, const QString& text) override {
        calls_.push_back({Kind::inform, title, text, {}});
    }
    bool confirm(QWidget*, const QString& title, const QString& text) override {
        calls_.push_back({Kind::confirm, title, text, {}});
        return take(confirms_).value_or(false);
    }
    std::optional<QString> askText(QWidget*, const QString& title, const QString& prompt,
                                   const QString& initial) override {
        calls_.push_back({Kind::askText, title, prompt, initial});
        return take(texts_).value_or(std::nullopt);
    }

private:
    template <typename T>
    std::optional<T> take(std::deque<T>& answers) {
        if (answers.empty()) {
            unanswered_ = true;
            return std::nullopt;
        }
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }

    std::deque<std::optional<QString>> texts_;
    std::deque<bool> confirms_;
    std::vector<Call> calls_;
    bool unanswered_ = false;
};
