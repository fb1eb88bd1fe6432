// Dialogs answered by the test: queued answers, and a record of what was asked.
#pragma once

#include <QStringList>
#include <deque>
#include <functional>

#include "ui/dialogs.h"

namespace vmx::testing {

class ScriptedDialogs final : public Dialogs {
 public:
  std::deque<bool> answers;       // AskYesNo, in order; "No" when empty
  std::deque<QString> fileNames;  // both choosers, in order; cancelled when empty
  QStringList questions;          // the texts asked
  std::vector<FileRequest> fileRequests;
  std::function<void()> whileOpen;  // runs while a chooser is open, as its event loop would

  bool AskYesNo(const QString&, const QString& text, Icon, bool) override {
    questions.append(text);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  QString OpenFileName(const FileRequest& request) override { return Next(request); }
  QString SaveFileName(const FileRequest& request) override { return Next(request); }

 private:
  QString Next(const FileRequest& request) {
    fileRequests.push_back(request);
    if (whileOpen) whileOpen();
    if (fileNames.empty()) return {};
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
  }
};

}  // namespace vmx::testing
