#include "CModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <algorithm>

namespace {

constexpr int kPollMs = 10;

}  // namespace

SeenBox DescribeBox(QMessageBox* box) {
    SeenBox seen;
    seen.caption = box->windowTitle();
    seen.text = box->text();
    seen.informative = box->informativeText();
    seen.detailed = box->detailedText();
    seen.icon = box->icon();
    seen.buttons = box->standardButtons();
    for (int bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1) {
        if (QAbstractButton* button = box->button(QMessageBox::StandardButton(bit))) {
            seen.buttonTexts << button->text();
        }
    }
    if (QPushButton* button = box->defaultButton()) {
        seen.defaultButton = box->standardButton(button);
    }
    return seen;
}

CModalDriver::CModalDriver() {
    timer.setInterval(kPollMs);
    connect(&timer, &QTimer::timeout, this, &CModalDriver::Poll);
    timer.start();
}

CModalDriver::~CModalDriver() {
    timer.stop();
}

CModalDriver& CModalDriver::AnswerBox(QMessageBox::StandardButton button) {
    return On([](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
              [this, button](QWidget* w) {
                  auto* box = qobject_cast<QMessageBox*>(w);
                  boxes.push_back(DescribeBox(box));
                  if (QAbstractButton* answer = box->button(button)) {
                      answer->click();
                  } else {
                      // The box lacks the expected button; close it anyway so the test
                      // reports the recorded box instead of hanging.
                      box->done(QMessageBox::NoButton);
                  }
              });
}

CModalDriver& CModalDriver::On(std::function<bool(QWidget*)> match,
                               std::function<void(QWidget*)> act) {
    steps.push_back({std::move(match), std::move(act)});
    return *this;
}

void CModalDriver::Poll() {
    if (next >= steps.size()) {
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || std::find(busy.begin(), busy.end(), modal) != busy.end() ||
        !steps[next].match(modal)) {
        return;
    }
    const Step step = steps[next++];
    QPointer<QWidget> target = modal;
    busy.push_back(target);
    // A timer is not fired again while its own timeout is handled, so the step runs from an
    // event of its own: a modal loop it opens then still sees this timer and later steps.
    QTimer::singleShot(0, this, [this, step, target] {
        if (target) {
            step.act(target);
        }
        busy.erase(std::find(busy.begin(), busy.end(), target));
    });
}

#include "moc_CModalDriver.cpp"
