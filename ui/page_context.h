// What a page may ask of the window it sits in. Pages see only this, so each
// is tested with a fake context and the window stays a thin wiring class.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "lang/catalogue.h"
#include "link/link_host.h"
#include "link/shared_store.h"

class QObject;
class QWidget;

namespace vmx {

class Dialogs;

class PageContext {
 public:
  virtual ~PageContext() = default;

  // The shared records; fields are written on the UI thread without the lock.
  virtual SharedStore& Store() = 0;
  // ORs `bits` into the request word under the lock.
  void Raise(uint32_t bits) { Store().Raise(bits); }

  virtual QWidget* ActivePage() const = 0;
  virtual QWidget* PageNamed(const char* name) const = 0;
  // Makes `page` active and, when it was not, runs the page-change handling.
  virtual void ShowPage(QWidget* page) = 0;
  virtual bool ExpertPagesVisible() const = 0;
  virtual void SetExpertPagesVisible(bool visible) = 0;

  virtual bool WindowVisible() const = 0;
  virtual bool Connected() const = 0;
  virtual std::string PortName() const = 0;
  virtual QString AppDir() const = 0;
  virtual vmx::Language Language() const = 0;

  // The board's status line in the window caption; empty: the plain caption.
  virtual void SetCaptionStatus(const QString& status) = 0;
  virtual void SetStatusPanel(int panel, const QString& text) = 0;
  virtual void ShowStatus(const std::string& text) = 0;
  virtual void AddLogLine(const std::string& text) = 0;

  // Enables and disables the controls for the link state and the last records.
  virtual void UpdateEnabling() = 0;
  // Shows a record on every page that shows it, as after a read.
  virtual void ApplyRecord(RecordKind record) = 0;
  // Spreads the channels' colour names and tints to every page.
  virtual void UpdateChannelColors() = 0;
  // Back to real time, as the Configuration page's Realtime button does.
  virtual void EndTimeLapse() = 0;
  // A control anywhere in the window, by name; nullptr when there is none.
  virtual QObject* Control(const QString& name) const = 0;

  virtual Dialogs& Ask() = 0;
};

}  // namespace vmx
