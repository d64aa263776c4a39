#include "EditorTestSupport.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <ctime>

#include <sys/timerfd.h>
#include <unistd.h>

#include <QtGui/qpa/qwindowsysteminterface.h>

#include "CSystemClock.h"

bool PrepareEditorsTest() {
    QCoreApplication::setApplicationName(QStringLiteral("Zav7305"));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    // The editors journal every exchange; a test run's records stay out of the user's own.
    if (!runtime.isEmpty() && qEnvironmentVariableIsEmpty("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", (runtime + QStringLiteral("/data")).toUtf8());
    }
    if (!runtime.isEmpty() && qEnvironmentVariableIsEmpty("XDG_STATE_HOME")) {
        qputenv("XDG_STATE_HOME", (runtime + QStringLiteral("/state")).toUtf8());
    }
    // Owner-only, as a desktop session's runtime folder is.
    return !runtime.isEmpty() && QDir().mkpath(runtime) &&
           QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

CEditorJournal& TestJournal() {
    static CEditorJournal journal(CJournal::DefaultFolder());
    return journal;
}

int JournalLineCount() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const CJournal journal(CJournal::DefaultFolder());
    int count = 0;
    for (int part = 1;; ++part) {
        QFile file(
            QString::fromStdString(part == 1 ? journal.PathFor(now) : journal.PathFor(now, part)));
        if (!file.open(QIODevice::ReadOnly)) {
            return count;
        }
        // Each file starts with its header line.
        count += std::max(0, static_cast<int>(file.readAll().count('\n')) - 1);
    }
}

QString LastJournalLine() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const CJournal journal(CJournal::DefaultFolder());
    // A day whose first file holds an older layout goes on in its next ones.
    std::string path = journal.PathFor(now);
    for (int part = 2; QFile::exists(QString::fromStdString(journal.PathFor(now, part))); ++part) {
        path = journal.PathFor(now, part);
    }
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll().trimmed().split('\n').last());
}

bool StartSim(CSimProcess& sim, const std::string& device,
              const std::vector<std::string>& extraArgs) {
    CSimProcess::Options options;
    options.device = device;
    options.extraArgs = extraArgs;
    options.runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR").toStdString() + "/zav7305";
    return sim.Start(options);
}

int RunDriven(CModalDriver& driver, const std::function<int()>& modal, int seconds) {
    bool fired = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&watchdog, &fired]() {
        fired = true;
        if (QWidget* w = QApplication::activeModalWidget()) {
            if (auto* dialog = qobject_cast<QDialog*>(w)) {
                dialog->reject();
            } else {
                w->close();
            }
        }
        watchdog.start(200);
    });
    watchdog.start(seconds * 1000);
    const int code = modal();
    watchdog.stop();
    if (fired) {
        QTest::qFail(qPrintable(QStringLiteral("a modal window was left unanswered; %1 steps left")
                                    .arg(driver.Pending())),
                     __FILE__, __LINE__);
    }
    return code;
}

void TypeInto(QWidget* field, const QString& text) {
    field->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->selectAll();
    }
    if (text.isEmpty()) {
        QTest::keyClick(field, Qt::Key_Backspace);
        return;
    }
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(field, c.toLatin1());
            continue;
        }
        // QTest only types ASCII; other characters arrive as the text of an unknown key.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
        QApplication::sendEvent(field, &release);
    }
}

void PressKey(QWidget* widget, Qt::Key key) {
    widget->setFocus();
    QTest::keyClick(widget, key);
}

QString TextOf(QWidget* field) {
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        return edit->text();
    }
    if (auto* box = qobject_cast<QTextEdit*>(field)) {
        return box->toPlainText();
    }
    if (auto* label = qobject_cast<QLabel*>(field)) {
        return label->text();
    }
    return {};
}

CInputDuringWait::CInputDuringWait()
    : ready(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {
    notifier = new QSocketNotifier(ready, QSocketNotifier::Read, this);
    notifier->setEnabled(false);
    connect(notifier, &QSocketNotifier::activated, this, &CInputDuringWait::Give);
}

CInputDuringWait::~CInputDuringWait() {
    delete notifier;
    close(ready);
}

void CInputDuringWait::Click(QWidget* widget) {
    Click([widget] { return widget; });
}

void CInputDuringWait::Click(std::function<QWidget*()> find) {
    inputs.push_back([find] {
        QWidget* widget = find();
        QVERIFY(widget != nullptr);
        QWindow* window = widget->window()->windowHandle();
        const QPointF local = widget->mapTo(widget->window(), widget->rect().center());
        const QPointF global = widget->mapToGlobal(widget->rect().center());
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window, local, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress);
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window, local, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
    });
}

void CInputDuringWait::Key(QWidget* widget, Qt::Key key, const QString& text) {
    inputs.push_back([widget, key, text] {
        QWindow* window = widget->window()->windowHandle();
        QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window, QEvent::KeyPress, key, Qt::NoModifier, text);
        QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window, QEvent::KeyRelease, key, Qt::NoModifier, text);
    });
}

void CInputDuringWait::Arm(int afterMs) {
    // A zero time would disarm the timer: at once is one nanosecond from now.
    itimerspec at{};
    at.it_value.tv_sec = afterMs / 1000;
    at.it_value.tv_nsec = afterMs % 1000 * 1000000L + (afterMs == 0 ? 1 : 0);
    QVERIFY(timerfd_settime(ready, 0, &at, nullptr) == 0);
    notifier->setEnabled(true);
}

void CInputDuringWait::Give() {
    notifier->setEnabled(false);
    uint64_t count = 0;
    QVERIFY(read(ready, &count, sizeof count) == sizeof count);
    givenAtNs = CSystemClock::NowNs();
    for (const std::function<void()>& input : inputs) {
        input();
    }
    given = true;
}

int64_t BoxAfterInputMs(const CFirstBoxShown& box, const CInputDuringWait& input) {
    if (!input.Given() || box.AtNs() <= input.GivenAtNs()) {
        return -1;
    }
    return (box.AtNs() - input.GivenAtNs()) / 1000000;
}

CFirstBoxShown::CFirstBoxShown() {
    QCoreApplication::instance()->installEventFilter(this);
}

bool CFirstBoxShown::eventFilter(QObject* receiver, QEvent* event) {
    if (atNs == 0 && event->type() == QEvent::Show && qobject_cast<QMessageBox*>(receiver)) {
        atNs = CSystemClock::NowNs();
    }
    return false;
}

QString BoxText(const CModalDriver& driver, size_t index) {
    return index < driver.Boxes().size() ? driver.Boxes()[index].text : QString();
}

CSheetBench::CSheetBench() = default;

CSheetBench::~CSheetBench() {
    Close();
}

CMyPropSheet& CSheetBench::Open(int32_t repeaterCount, int32_t portNumber, uint8_t isClient) {
    Close();
    opening = std::make_unique<CDefaultSheet>(
        repe, capteur,
        CDefaultSheet::Opening{portNumber, isClient, repeaterCount, clock, TestJournal(),
                               lastNetwork, timing});
    modem = &opening->ModemPage();
    network = &opening->Network();
    sheet = &opening->Sheet();
    return *sheet;
}

int CSheetBench::Run(CModalDriver& driver) {
    return RunDriven(driver, [this]() { return sheet->DoModal(); });
}

void CSheetBench::Close() {
    sheet = nullptr;
    modem = nullptr;
    network = nullptr;
    opening.reset();
}

void ClickSheetButton(CMyPropSheet* sheet, int id) {
    QPushButton* button = sheet->GetButton(id);
    QVERIFY(button != nullptr);
    button->click();
}

void Apply(CMyPropSheet* sheet) {
    ClickSheetButton(sheet, CPropertySheet::kIdApply);
}

void Retour(CMyPropSheet* sheet) {
    ClickSheetButton(sheet, CMyPropSheet::kIdRetour);
}

QLineEdit* Field(CPropertyPage& page, int id) {
    return page.Item<QLineEdit>(id);
}
