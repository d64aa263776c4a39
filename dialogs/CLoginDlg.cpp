#include "CLoginDlg.h"

#include <QComboBox>
#include <QLineEdit>

#include "MessageBoxes.h"
#include "Roles.h"
#include "SortedCombo.h"

const QString CLoginDlg::kClient = QString::fromUtf8(Roles::kClient);
const QString CLoginDlg::kAdministrator = QString::fromUtf8(Roles::kAdministrator);
const QString CLoginDlg::kAdministratorPassword = QString::fromUtf8(Roles::kAdministratorPassword);
const QString CLoginDlg::kPasswordRefused = QString::fromUtf8(Roles::kPasswordRefused);

CLoginDlg::CLoginDlg(QWidget* parent) : CTemplateDialog(kTemplateId, parent) {}

void CLoginDlg::DoDataExchange(CDataExchange& dx) {
    identityControl = Item<QComboBox>(kIdIdentity);
    passwordControl = Item<QLineEdit>(kIdPassword);
    dx.Text(kIdPassword, password);
}

bool CLoginDlg::OnInitDialog() {
    const bool result = CTemplateDialog::OnInitDialog();
    if (identityControl == nullptr || passwordControl == nullptr) {
        return result;
    }
    AddSortedString(identityControl, kClient);
    AddSortedString(identityControl, kAdministrator);
    identityControl->setCurrentIndex(kIndexClient);
    passwordControl->setEnabled(false);
    connect(identityControl, &QComboBox::currentIndexChanged, this, &CLoginDlg::OnIdentityChanged,
            Qt::UniqueConnection);
    return result;
}

void CLoginDlg::OnIdentityChanged(int index) {
    passwordControl->setEnabled(index == kIndexAdministrator);
}

void CLoginDlg::OnOK() {}

void CLoginDlg::OnCommand(int id) {
    if (id == kIdOkButton) {
        OnOkButton();
        return;
    }
    CTemplateDialog::OnCommand(id);
}

void CLoginDlg::OnOkButton() {
    if (identityControl == nullptr) {
        return;
    }
    const int index = identityControl->currentIndex();
    if (index == kIndexClient) {
        role = kRoleClient;
        CTemplateDialog::OnOK();
        return;
    }
    if (index != kIndexAdministrator) {
        return;
    }
    UpdateData(true);
    if (password == kAdministratorPassword) {
        role = kRoleAdministrator;
        CTemplateDialog::OnOK();
        return;
    }
    AfxMessageBox(kPasswordRefused);
}

#include "moc_CLoginDlg.cpp"
