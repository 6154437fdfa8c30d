#include "views/common/preview_foot.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zeb {

QPushButton* addPreviewFoot(QDialog& dialog, QVBoxLayout& layout, QWidget* preview, QLabel* summary,
                            const QString& okText, const char* okName) {
    auto* previewLabel = new QLabel("Ante&prima:");
    previewLabel->setBuddy(preview);
    layout.addWidget(previewLabel);
    layout.addWidget(preview, 1);
    layout.addWidget(summary);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(okText);
    ok->setObjectName(okName);
    buttons->button(QDialogButtonBox::Cancel)->setText("A&nnulla");
    layout.addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return ok;
}

} // namespace zeb
