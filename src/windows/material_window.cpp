#include "windows/material_window.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "forms/text_fields.h"
#include "forms/unit_labels.h"
#include "windows/number_field.h"

namespace velo {
namespace {

// Column headings of the pair fields and of the grid; the full captions are
// their tooltips.
const char* const ShortCaptions[CoefficientKinds] = {"Восстановление", "Трение (Раус)", "Трение (λ)",
                                                     "Качение, L"};

QString ShortCaption(int kind, const UnitSystem& units) {
    return QString::fromStdString(ComposeUnitLabel(ShortCaptions[kind], units));
}

QString NameOf(const MaterialTable& table, int index) {
    return QString::fromStdString(MaterialListTexts(table)[static_cast<std::size_t>(index)]);
}

}  // namespace

void ShowColourOn(QPushButton* button, std::int32_t colour) {
    const int side = button->fontMetrics().height();
    QPixmap swatch(side * 2, side);
    swatch.fill(QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    {
        QPainter frame(&swatch);
        frame.setPen(button->palette().color(QPalette::WindowText));
        frame.drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
    }
    button->setIconSize(swatch.size());
    button->setIcon(QIcon(swatch));
}

frmMaterial::frmMaterial(MaterialTable& copy, int index, const UnitSystem& units, ColourChooser chooseColour,
                         ErrorReporter reportError, QWidget* parent)
    : QDialog(parent),
      copy_(copy),
      index_(index),
      locale_(NumberLocaleOf(QLocale())),
      chooseColour_(std::move(chooseColour)),
      reportError_(std::move(reportError)) {
    setObjectName(QStringLiteral("frmMaterial"));
    values_ = FillMaterialWindow(copy_, index_, units, locale_);
    setWindowTitle(QString::fromStdString(values_.Title));

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    txtName_ = new QLineEdit(QString::fromStdString(values_.Name), this);
    txtName_->setObjectName(QStringLiteral("txtName"));
    txtName_->setMaxLength(MaterialNameLength);
    // The ideal material keeps its name.
    txtName_->setReadOnly(index_ == 0);
    form->addRow(QStringLiteral("Название материала:"), txtName_);
    txtDensity_ = new NumberField(this);
    txtDensity_->setObjectName(QStringLiteral("txtDensity"));
    txtDensity_->SetCheck(MaterialDensityCheck());
    txtDensity_->SetValue(ParseNumber(values_.Density, locale_));
    auto* density = new QHBoxLayout;
    density->addWidget(txtDensity_);
    density->addWidget(new QLabel(QString::fromStdString(values_.DensityLabel), this));
    form->addRow(QStringLiteral("Плотность:"), density);
    cmdColour_ = new QPushButton(QStringLiteral("Изменить..."), this);
    cmdColour_->setObjectName(QStringLiteral("cmdColour"));
    cmdColour_->setToolTip(QStringLiteral("Цвет материала"));
    ShowColourOn(cmdColour_, values_.Colour);
    connect(cmdColour_, &QPushButton::clicked, this, [this] {
        if (!chooseColour_) return;
        if (const std::optional<std::int32_t> colour = chooseColour_(values_.Colour)) {
            values_.Colour = *colour;
            ShowColourOn(cmdColour_, values_.Colour);
        }
    });
    form->addRow(QStringLiteral("Цвет материала:"), cmdColour_);
    layout->addLayout(form);

    // Pairs with the ideal material are fixed: neither shown nor changed.
    if (index_ > 0 && copy_.MaterialCount > 0) {
        auto* tabs = new QTabWidget(this);
        tabs->addTab(MakePairsPage(units), QStringLiteral("Коэффициенты"));
        tabs->addTab(MakeGridPage(units), QStringLiteral("Таблица"));
        layout->addWidget(tabs, 1);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &frmMaterial::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmMaterial::reject);
    layout->addWidget(buttons);
}

QWidget* frmMaterial::MakePairsPage(const UnitSystem& units) {
    auto* area = new QScrollArea(this);
    area->setWidgetResizable(true);
    auto* inner = new QWidget(area);
    auto* grid = new QGridLayout(inner);
    grid->addWidget(new QLabel(QStringLiteral("В паре с материалом"), inner), 0, 0);
    for (int kind = 0; kind < CoefficientKinds; ++kind) {
        auto* heading = new QLabel(ShortCaption(kind, units), inner);
        heading->setToolTip(QString::fromStdString(CoefficientCaption(kind, units)));
        grid->addWidget(heading, 0, kind + 1);
    }
    pairs_.assign(copy_.MaterialCount + 1, {});
    for (int j = 1; j <= copy_.MaterialCount; ++j) {
        grid->addWidget(new QLabel(NameOf(copy_, j), inner), j, 0);
        const PairTexts& texts = values_.Pairs[static_cast<std::size_t>(j)];
        const std::string* shown[CoefficientKinds] = {&texts.Restitution, &texts.FrictionRouth,
                                                      &texts.FrictionLambda, &texts.RollingFriction};
        for (int kind = 0; kind < CoefficientKinds; ++kind) {
            auto* field = new NumberField(inner);
            field->setObjectName(QStringLiteral("txtPair%1_%2").arg(j).arg(kind));
            field->setToolTip(QString::fromStdString(CoefficientCaption(kind, units)));
            field->SetCheck(PairCoefficientCheck());
            field->SetValue(ParseNumber(*shown[kind], locale_));
            connect(field, &NumberField::Accepted, this, [this, j, kind](double value) {
                if (QTableWidgetItem* cell = grid_ ? grid_->item(j - 1, kind) : nullptr) {
                    cell->setText(RoundedText(value));
                }
            });
            grid->addWidget(field, j, kind + 1);
            pairs_[static_cast<std::size_t>(j)].push_back(field);
        }
    }
    grid->setRowStretch(copy_.MaterialCount + 1, 1);
    area->setWidget(inner);
    // The four columns always fit; only the rows scroll.
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setMinimumWidth(inner->sizeHint().width() + area->verticalScrollBar()->sizeHint().width() +
                          2 * area->frameWidth());
    return area;
}

QWidget* frmMaterial::MakeGridPage(const UnitSystem& units) {
    grid_ = new QTableWidget(copy_.MaterialCount, CoefficientKinds, this);
    grid_->setObjectName(QStringLiteral("grdPairs"));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QStringList rows;
    for (int j = 1; j <= copy_.MaterialCount; ++j) rows << NameOf(copy_, j);
    grid_->setVerticalHeaderLabels(rows);
    for (int kind = 0; kind < CoefficientKinds; ++kind) {
        auto* heading = new QTableWidgetItem(ShortCaption(kind, units));
        heading->setToolTip(QString::fromStdString(CoefficientCaption(kind, units)));
        grid_->setHorizontalHeaderItem(kind, heading);
        for (int j = 1; j <= copy_.MaterialCount; ++j) {
            grid_->setItem(j - 1, kind, new QTableWidgetItem(RoundedText(PairField(j, kind)->Value())));
        }
    }
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return grid_;
}

NumberField* frmMaterial::PairField(int j, int kind) const {
    if (j < 1 || j >= static_cast<int>(pairs_.size()) || kind < 0 || kind >= CoefficientKinds) return nullptr;
    return pairs_[static_cast<std::size_t>(j)][static_cast<std::size_t>(kind)];
}

void frmMaterial::accept() {
    MaterialWindowValues typed = values_;
    typed.Name = txtName_->text().toStdString();
    typed.Density = FormatNumber(txtDensity_->Value(), locale_);
    for (int j = 1; j < static_cast<int>(pairs_.size()); ++j) {
        auto text = [&](int kind) { return FormatNumber(PairField(j, kind)->Value(), locale_); };
        typed.Pairs[static_cast<std::size_t>(j)] =
            PairTexts{text(CoefficientRestitution), text(CoefficientFrictionRouth), text(CoefficientFrictionLambda),
                      text(CoefficientRollingFriction)};
    }
    MaterialWindowResult result;
    // A refused density is no density: the struck-through text is what the
    // user sees, not the value kept from before.
    if (txtDensity_->Refused() && !IsBlankText(typed.Name)) {
        result = {MaterialDensityMessage, MaterialField::Density};
    } else {
        result = AcceptMaterialWindow(copy_, index_, typed, locale_);
    }
    if (!result.Ok()) {
        if (reportError_) reportError_(result.Message);
        QWidget* field = result.Field == MaterialField::Density ? static_cast<QWidget*>(txtDensity_) : txtName_;
        field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
        return;
    }
    QDialog::accept();
}

}  // namespace velo
