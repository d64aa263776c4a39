#pragma once

#include <memory>

#include "CDataExchange.h"
#include "CKeyDelivery.h"
#include "CModalDialog.h"
#include "CTemplateForm.h"
#include "ITemplateClient.h"

class QKeyEvent;
class QPaintEvent;

// A modal dialog built from a template. End codes: 1 OK, 2 cancel (Escape and the close box
// reach OnCancel through command 2), anything an editor passes to EndDialog.
class CTemplateDialog : public CModalDialog, protected ITemplateClient {
    Q_OBJECT
public:
    explicit CTemplateDialog(int templateId, QWidget* parent = nullptr);
    ~CTemplateDialog() override;

    QWidget* GetDlgItem(int id) const;
    template <class T>
    T* Item(int id) const {
        return qobject_cast<T*>(GetDlgItem(id));
    }
    bool UpdateData(bool saveAndValidate = true);
    // Sends a command as if its button had been clicked (also what Enter and Escape do).
    void SendCommand(int id) { OnCommand(id); }
    CTemplateForm& Form() { return *form; }

protected:
    // Base: members to screen; true puts the focus on the first tab stop.
    virtual bool OnInitDialog();
    // Base: UpdateData(true), then EndDialog(1) when it passed.
    virtual void OnOK();
    // Base: EndDialog(2).
    virtual void OnCancel();
    // Gets every key press in the dialog before the control or the dialog does;
    // true consumes it.
    virtual bool PreTranslateKey(QKeyEvent* event);

    void DoDataExchange(CDataExchange& dx) override;
    // Base: 1 OnOK, 2 OnCancel, 57670 help; others nothing.
    void OnCommand(int id) override;
    void OnEditChange(int id) override;

    void RepaintItem(int id) { form->RepaintItem(id); }

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateWindowOnce();
    void InstallKeyFilters();
    bool PrepareRun() override;
    bool OnEnterKey() override;
    // PreTranslateKey, then Enter, Escape and F1 as the dialog manager routes them.
    bool HandleKey(QKeyEvent* event);

    int templateId;
    std::unique_ptr<CTemplateForm> form;
    bool templateLoaded = false;
    CKeyDelivery keys;
};
