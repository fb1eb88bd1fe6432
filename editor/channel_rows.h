// Twelve channel rows of one control family (moon levels, white balance,
// weather delays): the channel's caption, a slider and an edit, both bound to
// the channel's field. The caption and the edit's tint follow the channel's
// colour name.
#pragma once

#include <QString>
#include <array>

#include "link/records.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QSlider;
class QWidget;

namespace vmx {

class Binder;

struct ChannelRow {
  QLabel* label;
  QSlider* slider;
  QLineEdit* edit;
};
using ChannelRows = std::array<ChannelRow, kChannels>;

// Adds trb<stem><n> and edt<stem><n> for n = 0..11 to `grid`, one row each
// from `firstRow` on, and binds them.
ChannelRows AddChannelRows(QWidget* parent, QGridLayout* grid, int firstRow, const QString& stem,
                           int tickInterval, Binder& binder);

// "A: Red" beside each edit and the colour's tint behind it.
void ShowChannelColors(const ChannelRows& rows, const Config& config);

}  // namespace vmx
