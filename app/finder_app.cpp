#include "app/finder_app.h"

#include "app/finder_dlg.h"

CFinderApp theApp;

int CFinderApp::InitInstance() {
    CFinderDlg dialog;
    dialog.DoModal();
    return 0;
}
