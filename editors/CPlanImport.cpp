#include "CPlanImport.h"

#include <QFileDialog>
#include <QPushButton>
#include <QStringList>
#include <utility>

#include "CMyPropSheet.h"
#include "CPlanStore.h"
#include "FileStatus.h"
#include "MessageBoxes.h"
#include "PlanReader.h"
#include "PlanTexts.h"
#include "PlanValues.h"
#include "PlanWalkTexts.h"
#include "ReadOwnFile.h"

namespace {

QString ChooseFile(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QString::fromUtf8(PlanWalkTexts::kChooseFile),
                                        QString(), QString::fromUtf8(PlanWalkTexts::kFileFilter));
}

QString ReadReason(int status) {
    if (status == FILE_REFUSED_TOO_LONG) {
        return QString::fromStdString(
            PlanValues::Filled(PlanTexts::kFileTooLong, {std::to_string(PlanReader::kByteLimit)}));
    }
    return QString::fromStdString(FileStatusReason(status));
}

}  // namespace

CPlanImport::CPlanImport(std::string plansFolder, std::function<void(const QString&)> imported)
    : plansFolder(std::move(plansFolder)), imported(std::move(imported)), chooser(ChooseFile) {}

void CPlanImport::Install(CMyPropSheet& owner) {
    sheet = &owner;
    button = new QPushButton(QString::fromUtf8(PlanWalkTexts::kPlanButton));
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::ClickFocus);
    const bool client = owner.isClient == 1;
    button->setEnabled(!client);
    button->setToolTip(
        QString::fromUtf8(client ? PlanWalkTexts::kPlanClientTip : PlanWalkTexts::kPlanButtonTip));
    connect(button, &QPushButton::clicked, this, &CPlanImport::Import);
    owner.AddToRowStart(button);
}

void CPlanImport::Import() {
    const QString caption = QString::fromUtf8(PlanWalkTexts::kCaption);
    if (sheet == nullptr || sheet->isClient == 1) {
        ShowOwnedMessage(sheet, caption, QString::fromUtf8(PlanWalkTexts::kPlanClientTip));
        return;
    }
    const QString path = chooser(sheet);
    if (path.isEmpty()) {
        return;
    }
    QString network;
    const QString refusal = ImportFile(path, network);
    if (!refusal.isEmpty()) {
        ShowOwnedMessage(sheet, caption, refusal);
        return;
    }
    imported(network);
}

QString CPlanImport::ImportFile(const QString& path, QString& network) const {
    std::string bytes;
    const int status = ReadOwnFile(path.toStdString(), PlanReader::kByteLimit, bytes);
    if (status != FILE_OK) {
        return QString::fromUtf8(PlanWalkTexts::kUnreadable).arg(path) + QLatin1Char('\n') +
               ReadReason(status);
    }
    const PlanReading reading = PlanReader::Read(bytes);
    if (!reading.plan) {
        QStringList reasons;
        for (const PlanProblem& problem : reading.problems) {
            reasons << QString::fromStdString(ProblemText(problem));
        }
        return QString::fromUtf8(PlanWalkTexts::kRefused).arg(reasons.join(QLatin1Char('\n')));
    }
    network = QString::fromStdString(reading.plan->Facts().network);
    if (CPlanStore(plansFolder).Save(*reading.plan) != FILE_OK) {
        return QString::fromUtf8(PlanWalkTexts::kNotStored).arg(network);
    }
    return {};
}

#include "moc_CPlanImport.cpp"
