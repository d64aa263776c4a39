#pragma once

#include <QString>
#include <cstdint>

#include "CTemplateDialog.h"

class QComboBox;
class QLineEdit;

// Chooses the role for the rest of the run: "Client" without a password, or "Administateur"
// with the administrator password. Ends with 1 and `role` set, or with 2.
class CLoginDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 148;
    static constexpr int kIdIdentity = 1000;
    static constexpr int kIdPassword = 1006;
    static constexpr int kIdOkButton = 1015;
    static constexpr int kIndexAdministrator = 0;
    static constexpr int kIndexClient = 1;
    static constexpr uint8_t kRoleAdministrator = 0;
    static constexpr uint8_t kRoleClient = 1;

    static const QString kClient;
    static const QString kAdministrator;
    static const QString kAdministratorPassword;
    static const QString kPasswordRefused;

    explicit CLoginDlg(QWidget* parent = nullptr);

    // Meaningful once the dialog has ended with 1; a client until then, the lesser right.
    uint8_t role = kRoleClient;
    QComboBox* identityControl = nullptr;
    QLineEdit* passwordControl = nullptr;
    QString password;

protected:
    bool OnInitDialog() override;
    // The standard OK command does nothing here: the accepting button is 1015.
    void OnOK() override;
    void OnCommand(int id) override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    void OnOkButton();
    void OnIdentityChanged(int index);
};
