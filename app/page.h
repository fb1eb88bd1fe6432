// A page of the page control. Its object name is the page's name, so the
// language table and the link-state table find it; its controls read and
// write the window's shared records.
#pragma once

#include <QWidget>

namespace vmx {

class TfrmLantix;

class Page : public QWidget {
  Q_OBJECT

 public:
  Page(TfrmLantix& form, const char* name);

 protected:
  TfrmLantix& Form() const { return form_; }

 private:
  TfrmLantix& form_;
};

}  // namespace vmx
