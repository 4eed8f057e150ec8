#include "windows/air_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace velo {
namespace {

// The formulas are typeset here, as rich text in a serif face: bold letters
// are vectors, italic ones scalars. The force law is that of the step: a
// linear and a quadratic part in the speed against the air, the shape's
// characteristic area standing in front.
const QString Minus = QStringLiteral("&minus;");
const QString Force = QStringLiteral("<b>F</b>");
const QString Speed = QStringLiteral("<b>v</b>");
const QString Rho = QStringLiteral("<i>&rho;</i>");

QString Coefficients(const QString& speed) {
    return QStringLiteral("(<i>k</i><sub>1</sub> + <i>k</i><sub>2</sub>&thinsp;|%1|)&thinsp;%1").arg(speed);
}

QString Law(const QString& area) {
    return Force + QStringLiteral(" = ") + Minus + Rho + QStringLiteral("&thinsp;") + area +
           QStringLiteral("&thinsp;") + Coefficients(Speed);
}

struct KindPage {
    const char* Name;
    QString Formula;
    std::vector<const char*> Legend;
};

std::vector<KindPage> KindPages() {
    const QString normal = QStringLiteral("<b>v</b><sub>&perp;</sub>");
    return {
        {"Шар", Law(QStringLiteral("<i>R</i><sup>2</sup>")), {"R -- радиус шара"}},
        {"Цилиндр", Law(QStringLiteral("<i>R</i>&thinsp;<i>h</i>")), {"R -- радиус цилиндра", "h -- высота цилиндра"}},
        {"Кольцо", Law(QStringLiteral("<i>R</i>&thinsp;<i>d</i>")), {"R -- радиус кольца", "d -- диаметр сечения"}},
        {"Стержень",
         QStringLiteral("<i>d</i>") + Force + QStringLiteral(" = ") + Minus + Rho + QStringLiteral("&thinsp;<i>d</i>&thinsp;") +
             Coefficients(normal) + QStringLiteral("&thinsp;<i>dl</i>"),
         {"d -- ширина стержня", "dl -- элемент длины",
          "v\u22A5 -- скорость элемента относительно воздуха поперёк стержня"}},
    };
}

// A formula on a white card, larger than the text around it.
QLabel* FormulaCard(const QString& formula, QWidget* parent) {
    auto* card = new QLabel(parent);
    const double size = parent->font().pointSizeF() * 1.7;
    card->setText(QStringLiteral("<span style=\"font-family:'DejaVu Serif','Liberation Serif','Times New Roman',serif; "
                                 "font-size:%1pt\">%2</span>")
                      .arg(size, 0, 'f', 1)
                      .arg(formula));
    card->setTextFormat(Qt::RichText);
    card->setAlignment(Qt::AlignCenter);
    card->setFrameShape(QFrame::StyledPanel);
    card->setMargin(card->fontMetrics().height());
    card->setAutoFillBackground(true);
    QPalette paper = card->palette();
    paper.setColor(QPalette::Window, Qt::white);
    paper.setColor(QPalette::WindowText, Qt::black);
    card->setPalette(paper);
    return card;
}

QWidget* Legend(const std::vector<const char*>& lines, QWidget* parent) {
    auto* legend = new QWidget(parent);
    auto* layout = new QVBoxLayout(legend);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const char* line : lines) {
        auto* label = new QLabel(QString::fromUtf8(line), legend);
        label->setObjectName(QStringLiteral("legend"));
        layout->addWidget(label);
    }
    return legend;
}

}  // namespace

infAir::infAir(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("infAir"));
    setWindowTitle(QStringLiteral("Информация: сопротивление воздуха"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    const QString relative = Speed + QStringLiteral(" = <b>V</b> ") + Minus + QStringLiteral(" <b>w</b>");
    auto* general = FormulaCard(Law(QStringLiteral("<i>S</i>")) + QStringLiteral("<br>") + relative, this);
    general->setObjectName(QStringLiteral("pctFormula0"));
    layout->addWidget(general);
    layout->addWidget(Legend({"\u03C1 -- плотность воздуха",
                              "k\u2081 -- коэффициент линейного сопротивления тела",
                              "k\u2082 -- коэффициент квадратичного сопротивления тела",
                              "S -- характерная площадь тела", "V -- скорость тела", "w -- скорость ветра",
                              "v -- скорость тела относительно воздуха"},
                             this));

    auto* choice = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("Тело:"), this);
    Combo1_ = new QComboBox(this);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    caption->setBuddy(Combo1_);
    choice->addWidget(caption);
    choice->addWidget(Combo1_, 1);
    layout->addLayout(choice);

    kinds_ = new QStackedWidget(this);
    int index = 1;
    for (const KindPage& page : KindPages()) {
        Combo1_->addItem(QString::fromUtf8(page.Name));
        auto* frame = new QWidget(kinds_);
        auto* frameLayout = new QVBoxLayout(frame);
        frameLayout->setContentsMargins(0, 0, 0, 0);
        QLabel* formula = FormulaCard(page.Formula, frame);
        formula->setObjectName(QStringLiteral("pctFormula%1").arg(index++));
        frameLayout->addWidget(formula);
        frameLayout->addWidget(Legend(page.Legend, frame));
        frameLayout->addStretch();
        kinds_->addWidget(frame);
    }
    layout->addWidget(kinds_);
    connect(Combo1_, &QComboBox::currentIndexChanged, kinds_, &QStackedWidget::setCurrentIndex);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QLabel* infAir::KindFormula() const {
    return kinds_->currentWidget()->findChild<QLabel*>(QStringLiteral("pctFormula%1").arg(kinds_->currentIndex() + 1));
}

QStringList infAir::KindLegend() const {
    QStringList lines;
    for (QLabel* label : kinds_->currentWidget()->findChildren<QLabel*>(QStringLiteral("legend"))) lines << label->text();
    return lines;
}

}  // namespace velo
