// The one Qt application object of the process. The platform layer creates it on first need (tests run
// without a main that makes one), with an event filter of last resort that hands exceptions escaping an
// event handler to the application's default handler instead of letting them cross Qt's frames.
#pragma once

class QApplication;

// The process's QApplication, created with the program's arguments (or none) on first call.
QApplication& EnsureQtApplication();

// Creates the QApplication with the given command line; later calls keep the first one.
QApplication& CreateQtApplication(int& argc, char** argv);

// Tells the lock-key states and the key hooks of a key event on its way to a window (Keyboard.cpp).
class QKeyEvent;
void NoteKeyEvent(const QKeyEvent& event);
