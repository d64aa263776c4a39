#include "CDefaultSheet.h"

#include <QString>

#include "CPageCapteur.h"
#include "CPageRepe.h"
#include "EditorTexts.h"

CDefaultSheet::CDefaultSheet(CPageRepe& repeaterPage, CPageCapteur& sensorPage,
                             const Opening& opening)
    : sheet(QString::fromUtf8(EditorTexts::kSheetCaption)),
      network({opening.journal, opening.repeaterCount, opening.lastNetwork}) {
    sheet.SetNetwork(&network);
    sheet.isClient = opening.isClient;
    sheet.portNumber = opening.portNumber;
    sheet.clock = &opening.clock;
    sheet.timing = opening.timing;
    CSheetPage* const pages[] = {&repeaterPage, &sensorPage, &modemPage};
    for (CSheetPage* page : pages) {
        page->Attach(opening.repeaterCount, &sheet, opening.journal);
        sheet.AddPage(page);
    }
}
