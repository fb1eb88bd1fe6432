// What the Options menu and the trigger buttons ask of the board: a mode, the
// big step size, the one-shot actions and IR pairing. Each only changes the
// shared records and raises request bits; the link worker carries them out.
// The window's handlers and the command line call the same routines.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "astro/time_zone.h"
#include "link/records.h"

namespace vmx {

class SharedStore;

// "manual", "auto", "geo", "rgbdemo", "flash".
std::optional<BoardMode> ModeNamed(std::string_view name);
// The word of a mode, as ModeNamed takes it; empty for a mode without one.
std::string_view ModeName(BoardMode mode);
// The message key of a mode's name ("ModeAuto"); empty for a mode without one.
std::string_view ModeTextKey(BoardMode mode);

// Stores `mode` in Config; true when that changed it. Sends nothing by itself.
bool SetMode(SharedStore& store, BoardMode mode);
// The request of a mode item: Manual, Auto and Geo add WriteConfig to what is
// pending; RGB demo and Flash replace the whole request word by WriteConfig.
void RequestModeWrite(SharedStore& store, BoardMode mode);

// Inverts Config Flag bit 0x01 as the record holds it (not as a menu tick
// shows it) and raises WriteConfig; returns the new state.
bool ToggleBigStep(SharedStore& store);

void Refresh(SharedStore& store);           // the read-all set
void SaveSettings(SharedStore& store);      // SaveEEPROM
void LoadReefDefaults(SharedStore& store);  // LoadReef
void TriggerCloud(SharedStore& store);      // ToggleCloud
void TriggerStorm(SharedStore& store);      // ToggleStorm
void ReadHealth(SharedStore& store);        // ReadHealth
// Inverts bit 0x1000 of the eight RC-5 codes and raises the pairing write:
// the board starts pairing (or, done again, aborts it) when its codes change.
void PairIrRemote(SharedStore& store);

// A reading of the computer's local clock.
LocalDateTime ComputerClock();

// The board's clock set to `now` (WriteInfoTime); its channels stay as they are.
void SetBoardClock(SharedStore& store, const LocalDateTime& now);
// The board back to real time (TimeLapse 1, WriteConfig) and its clock set to
// `now`, as "Set current time and date" does.
void SetCurrentTimeAndDate(SharedStore& store, const LocalDateTime& now);

}  // namespace vmx
