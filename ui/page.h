// A page of the page control. Its object name is the page's name, so the
// language table and the link-state table find it; it owns its controls and
// their handlers and reaches the window only through its PageContext.
#pragma once

#include <QWidget>
#include <initializer_list>

#include "link/link_host.h"
#include "ui/bind.h"
#include "ui/page_context.h"

namespace vmx {

class Page : public QWidget {
  Q_OBJECT

 public:
  Page(PageContext& context, const char* name);

  // Whether the page shows `record` after a read.
  bool Shows(RecordKind record) const { return (subscribed_ & Bit(record)) != 0; }
  // Puts a freshly read record into the page's controls.
  virtual void Apply(RecordKind /*record*/) {}
  // The channels' colour names or tints changed.
  virtual void ChannelColorsChanged() {}
  // Runs once the language table has captioned the window.
  virtual void LanguageApplied() {}
  // The page has just become the active one.
  virtual void Activated() {}

 protected:
  void Subscribe(std::initializer_list<RecordKind> records);
  PageContext& Context() const { return context_; }
  Binder& Bindings() { return binder_; }

 private:
  static uint32_t Bit(RecordKind record) { return 1u << static_cast<unsigned>(record); }

  PageContext& context_;
  Binder binder_;
  uint32_t subscribed_ = 0;
};

}  // namespace vmx
