#pragma once

class QEvent;
class QKeyEvent;

// Keys that the application's tables treat alike.

// Ctrl+Tab or Ctrl+Shift+Tab: leave the table for the next or previous
// control of the window, past the cells that Tab walks through.
bool IsCtrlTab(const QKeyEvent* Key);
// Shift+Tab, or Tab with Shift.
bool IsBackwardTab(const QKeyEvent* Key);
// While a cell is edited, Alt+Up and Alt+Down belong to the editor (they
// open a drop-down), not to the window's commands that move rows: claims the
// shortcut check for them. True when it did.
bool ClaimAltArrows(QEvent* Event);
