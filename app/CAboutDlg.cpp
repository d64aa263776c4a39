#include "CAboutDlg.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CTemplateDialog(kTemplateId, parent) {}

#include "moc_CAboutDlg.cpp"
