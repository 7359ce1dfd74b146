#pragma once
// The application object: it runs the main window modally and ends the program when the window
// closes; there is no message loop of its own.

class CFinderApp {
public:
    int InitInstance();
};

extern CFinderApp theApp;
