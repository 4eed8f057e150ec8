#include "windows/settings_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace velo {

SettingsDialog::SettingsDialog(const char* name, const QString& title, SettingsAccess& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName(QString::fromUtf8(name));
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    body_ = new QVBoxLayout(this);
}

QCheckBox* SettingsDialog::AddBox(const char* name, const QString& caption, bool checked, QVBoxLayout* layout) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(QString::fromUtf8(name));
    box->setChecked(checked);
    (layout ? layout : body_)->addWidget(box);
    return box;
}

void SettingsDialog::AddButtons() {
    body_->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    body_->addWidget(buttons);
}

void SettingsDialog::accept() {
    Store();
    QDialog::accept();
}

}  // namespace velo
