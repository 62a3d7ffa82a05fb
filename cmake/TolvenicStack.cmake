# The folders under src/ form a stack, lowest level first. A file may include headers of its
# own folder and of the levels below it; never of a level above, nor of another folder of its
# own level (the include_stack test checks this with CheckIncludeStack.cmake).
# KeyboardDlg* files belong to the application level wherever their folder: the main window's
# pages live beside the logic they drive, but compile into tv_app.
set(TV_STACK
  "platform/text"
  "platform/os platform/mui platform/hid platform/audio platform/usb"
  "xml storage"
  "device"
  "keys lighting macros update"
  "app")
