#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QString>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CDefaultSheet.h"
#include "CEditorJournal.h"
#include "CFakeClock.h"
#include "CLastNetworkName.h"
#include "CModalDriver.h"
#include "CMyPropSheet.h"
#include "CPageCapteur.h"
#include "CPageRepe.h"
#include "CSimProcess.h"
#include "CTestClasses.h"
#include "CpageModem.h"
#include "ParameterFields.h"

// The controls the tests find by number: the fields of the custom dialog and of the repeater
// and sensor pages, and the modem page's radio and field of P0.
using ParameterFields::kChf;
using ParameterFields::kId;
using ParameterFields::kOft;
using ParameterFields::kP0;
using ParameterFields::kPrt;
using ParameterFields::kTyp;
inline constexpr int kRadioP0 = 1005;
inline constexpr int kFieldP0 = 1012;

// The boxes' sentences more than one editor shows.
inline const QString kAlready =
    QString::fromUtf8("ID déjà attribué.\nVoulez-vous le reprogrammer ?");
inline const QString kRefused = QStringLiteral("\r\n Pas de configuration.");
inline const QString kNotInteger = QStringLiteral("Tapez un nombre entier.");

// The lines a simulated device received.
using Lines = std::vector<std::string>;

// Application title "Zav7305" (the captions of the application message box) and this test's
// own runtime folder, where the simulator announces its port.
bool PrepareEditorsTest();

// The modal driver with the step names the editor tests read best: act on a window, answer
// a box.
class CEditorDriver : public CModalDriver {
public:
    template <class T>
    CEditorDriver& Act(std::function<void(T*)> act) {
        On<T>(act);
        return *this;
    }
    CEditorDriver& Answer(QMessageBox::StandardButton button) {
        AnswerBox(button);
        return *this;
    }
};

// The journal of this test run, in the test's own data folder, and the last line it wrote
// today.
CEditorJournal& TestJournal();
QString LastJournalLine();

// A simulated device on a virtual port in this test's runtime folder.
bool StartSim(CSimProcess& sim, const std::string& device,
              const std::vector<std::string>& extraArgs = {});

// Runs a modal window (`modal` calls its DoModal) while `driver` works through its steps.
// When nothing ends it within `seconds` (a box no step answers, a step waiting for a box that
// never comes), every modal window is closed and the test fails instead of hanging.
int RunDriven(CModalDriver& driver, const std::function<int()>& modal, int seconds = 30);

// Replaces a field's text keystroke by keystroke, as the user does after focusing the field
// and selecting it all; an empty text deletes it all. PressKey also focuses its widget first.
void TypeInto(QWidget* field, const QString& text);
void PressKey(QWidget* widget, Qt::Key key);
QString TextOf(QWidget* field);

// What the user does while an exchange waits: queued as the window system queues a real click
// or key, so that the wait holds it until the exchange is over. Armed just before the exchange
// starts, the input goes in as soon as the wait serves the event loop.
class CInputDuringWait : public QObject {
public:
    CInputDuringWait();
    ~CInputDuringWait() override;

    void Click(QWidget* widget);
    // A control found only when the input goes in (one the wait itself shows).
    void Click(std::function<QWidget*()> find);
    // `text` is what the key types, as the window system gives it.
    void Key(QWidget* widget, Qt::Key key, const QString& text = {});
    // Runs while the input goes in, to see the window as the user sees it then.
    void Look(std::function<void()> look) { inputs.push_back(std::move(look)); }
    // The input goes in at the first serve of the event loop `afterMs` from now.
    void Arm(int afterMs = 0);
    bool Given() const { return given; }
    // When it went in, on the monotonic clock.
    int64_t GivenAtNs() const { return givenAtNs; }

private:
    void Give();

    std::vector<std::function<void()>> inputs;
    int ready = -1;
    QSocketNotifier* notifier = nullptr;
    bool given = false;
    int64_t givenAtNs = 0;
};

// When the first message box was shown, on the monotonic clock; 0 while none was.
class CFirstBoxShown : public QObject {
public:
    CFirstBoxShown();
    int64_t AtNs() const { return atNs; }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    int64_t atNs = 0;
};

// How long after `input` went in the first box was shown, in ms; -1 when none was after it.
int64_t BoxAfterInputMs(const CFirstBoxShown& box, const CInputDuringWait& input);

// The records the journal holds today.
int JournalLineCount();

// The sentence shown by a box the driver met.
QString BoxText(const CModalDriver& driver, size_t index);

// The repeater and sensor pages live as long as the setup dialog; each opening of the
// sheet gets a new sheet and a new modem page, built in the setup dialog's order.
class CSheetBench {
public:
    CSheetBench();
    ~CSheetBench();

    CMyPropSheet& Open(int32_t repeaterCount, int32_t portNumber, uint8_t isClient = 0);
    int Run(CModalDriver& driver);
    void Close();

    CFakeClock clock{0, 1000};
    // The exchanges' waits of the next opening.
    ExchangeTiming timing{};
    CLastNetworkName lastNetwork;
    CPageRepe repe;
    CPageCapteur capteur;
    // Null while no sheet is open.
    CpageModem* modem = nullptr;
    CMyPropSheet* sheet = nullptr;
    CSheetNetwork* network = nullptr;

private:
    std::unique_ptr<CDefaultSheet> opening;
};

// What a sheet test does most: a button of the sheet's row.
void ClickSheetButton(CMyPropSheet* sheet, int id);
void Apply(CMyPropSheet* sheet);
void Retour(CMyPropSheet* sheet);
QLineEdit* Field(CPropertyPage& page, int id);
