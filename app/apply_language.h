// Puts the language table's window texts onto the window's controls, found
// by object name. Captions go to what each kind of control shows: a button's,
// label's or menu item's text, a group box's or menu's title, a page's tab,
// the whole text of a multi-line field, and for a line edit the label whose
// buddy it is.
#pragma once

#include <QString>
#include <optional>

#include "lang/catalogue.h"

class QObject;
class QWidget;

namespace vmx {

// Loads the table for `language` (none: the desktop's), applies
// it to `form` and returns the language taken.
Language ApplyLanguage(QWidget& form, std::optional<Language> language);
// Applies the loaded table to `root` and the controls under it, as
// ApplyLanguage does to the window: for a page built after the window.
void ApplyLanguageTexts(QObject& root, Language language);

class ControlIndex;

// The visible caption of a control, as ApplyLanguage sets it; `index`, when
// given, finds a line edit's label.
QString ControlCaption(const QObject* control, const ControlIndex* index = nullptr);
void SetControlCaption(QObject* control, const QString& caption,
                       const ControlIndex* index = nullptr);

}  // namespace vmx
