#pragma once

#include <QComboBox>

// The toolkit's combo box: it tells when its list is about to drop down, so that the owner
// can fill it afresh, and the list it drops is wide enough for its longest entry.
class CDropDownCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CDropDownCombo(QWidget* parent = nullptr);

    void showPopup() override;

signals:
    void aboutToShowPopup();
};
