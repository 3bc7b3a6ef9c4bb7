#pragma once

#include "gui/windows/dialogs.h"

#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

namespace tellavin::test {

// A dialogs service whose boxes a test answers: every dialog goes to the
// next answer in line (or is rejected when none is left) and its title and
// a message box's text and details are recorded, without a modal loop.
class AnsweredDialogs {
public:
    using Answer = std::function<int(QDialog&)>;

    AnsweredDialogs()
        : dialogs_([this](QDialog& dialog) {
              titles.push_back(dialog.windowTitle());
              auto* box = qobject_cast<QMessageBox*>(&dialog);
              texts.push_back(box != nullptr ? box->text() : QString());
              details.push_back(box != nullptr ? box->detailedText() : QString());
              if (answers_.empty()) {
                  return static_cast<int>(QDialog::Rejected);
              }
              Answer answer = std::move(answers_.front());
              answers_.pop_front();
              return answer(dialog);
          }) {}

    void Then(Answer answer) { answers_.push_back(std::move(answer)); }
    Dialogs& service() { return dialogs_; }

    std::vector<QString> titles;
    std::vector<QString> texts;
    std::vector<QString> details;

private:
    std::deque<Answer> answers_;
    Dialogs dialogs_;
};

} // namespace tellavin::test
