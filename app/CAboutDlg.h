#pragma once

#include "CTemplateDialog.h"

// The About box: the program's icon, name and version. OK ends it with 1, Escape and the
// close box with 2.
class CAboutDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 100;

    explicit CAboutDlg(QWidget* parent = nullptr);
};
