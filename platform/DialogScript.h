// The test seam of a modal dialog: while scripted, the dialog is not shown; each showing takes
// the next queued answer (or the dialog's safe answer) and is recorded for inspection. Nothing
// is recorded while the real dialogs are shown.
#pragma once

#include <QList>
#include <QQueue>

#include <optional>

namespace platform {

template <typename Request, typename Answer> class DialogScript {
public:
    void SetScripted(bool on)
    {
        scripted = on;
        answers.clear();
    }
    void SetNextAnswer(Answer answer) { answers.enqueue(std::move(answer)); }
    // While scripted, records `request` and returns the next answer, or `safeAnswer` when none
    // is queued; otherwise returns nothing and the caller shows the real dialog.
    std::optional<Answer> Take(const Request& request, Answer safeAnswer)
    {
        if (!scripted)
            return std::nullopt;
        shown.append(request);
        return answers.isEmpty() ? safeAnswer : answers.dequeue();
    }
    const QList<Request>& Shown() const { return shown; }
    void ClearShown() { shown.clear(); }

private:
    bool scripted = false;
    QQueue<Answer> answers;
    QList<Request> shown;
};

} // namespace platform
