// Scripted input for end-to-end tests: with the environment variable TV_TEST_ENTRY set, the
// instance socket also takes commands that click controls as the mouse does and report what
// the profile list holds. Every click goes through the control's own input handling, its
// notification, OnMessage, the command queue and the worker, exactly as a user's click.
//
//   click WINDOW ID [TARGET]   left click on control ID of the window named WINDOW ("main" for
//                              the main window, else a popup's name such as "Menu_Window" or
//                              "MessageBox", '_' standing for a blank); TARGET picks the spot: a
//                              key code on a key view, a tab on the palette tabs, a tile's value on
//                              the palette, a layer on a layer selector, a row of a list, a page
//                              id on the tab control, an advanced key's id on the advanced-key
//                              list (its negative: the row's delete icon); other controls are
//                              clicked in their middle
//   pick ID INDEX              chooses item INDEX from the drop-down list of combobox ID
//   key CODE down|up           a key of the desktop by its key code (X11 numbering, Qt's native
//                              scan code) pressed or released, as it reaches the program's
//                              window and its hooks
//   key CODE                   presses and releases it and prints "key CODE swallowed=0|1"
//   type ID TEXT               the user changes the text of edit ID to TEXT (one word)
//   close WINDOW               the window manager closes window WINDOW (its title bar's close
//                              button, Alt+F4), delivered through the platform's window
//   escape WINDOW              the Escape key pressed on window WINDOW, as the desktop gives it
//   where ID                   prints "where ID L,T,R,B": the screen rectangle of control ID of
//                              the main window (of the window itself for 0) and "screen
//                              L,T,R,B" the screen's work area
//   profiles                   prints "profiles active=A current=C selected=S items=ID:NAME|...
//                              waiting=W asking=Q" (A from the database, C the window's current
//                              profile, W 1 while a wait dialog is shown, Q 1 while a message
//                              box is up)
//   keyview ID CODE            prints "keyview ID CODE page=P display=D mode=M travel=T
//                              calibration=R,T,V,N,S steps=N found=F visible=V": the page shown,
//                              the performance page's travel display (1 on), key CODE's live
//                              travel and calibration values on key view ID, the worker's steps,
//                              the keyboard found and the window shown
//
// UI thread.
#pragma once

#include <string>

class KeyboardDlg;

bool TestEntryEnabled();
// Handles a command line of the list above; others are ignored.
void HandleTestCommand(KeyboardDlg& window, const std::string& command);
