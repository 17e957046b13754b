#include "forms/untSplash.h"

#include "assets/pictures/Pictures.h"
#include "startup/Registro.h"
#include "sysinfo/WinInfo.h"
#include "toolkit/FormStorage.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

namespace vorlu::forms {

namespace {

// The background picture, scaled to fit its area with its proportions kept, from the
// area's top-left corner.
class PictureBox final : public QWidget {
public:
    PictureBox(const QString& resource, QWidget* parent) : QWidget(parent), picture_(resource) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (picture_.isNull())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QSize fitted = picture_.size().scaled(size(), Qt::KeepAspectRatio);
        painter.drawPixmap(QRect(QPoint(0, 0), fitted), picture_);
    }

private:
    QPixmap picture_;
};

// A label drawn twice: in silver, moved 3 pixels towards the bottom right, then in its own colour.
class ShadowLabel final : public QLabel {
public:
    using QLabel::QLabel;
    static constexpr int kShadowOffset = 3;

    QSize sizeHint() const override { return QLabel::sizeHint() + QSize(kShadowOffset, kShadowOffset); }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setFont(font());
        const QRect area = rect().adjusted(0, 0, -kShadowOffset, -kShadowOffset);
        painter.setPen(QColor(0xC0, 0xC0, 0xC0));
        painter.drawText(area.translated(kShadowOffset, kShadowOffset), Qt::AlignLeft | Qt::AlignTop, text());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, text());
    }
};

QFont pixelFont(const QString& family, int pixels, bool bold = true)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QLabel* label(QWidget* parent, const char* name, const QString& text, const QFont& font, int left, int top)
{
    auto* control = new QLabel(text, parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setTextFormat(Qt::PlainText);
    control->setFont(font);
    control->move(left, top);
    control->adjustSize();
    return control;
}

const QColor kNavy(0, 0, 0x80);

} // namespace

Qt::WindowFlags captionlessFlags(Qt::WindowFlags flags)
{
    flags &= ~(Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
               | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);
    return flags | Qt::FramelessWindowHint;
}

bool hasCompanyName(const QString& name)
{
    for (const QChar c : name) {
        if (c.unicode() > u' ')
            return true;
    }
    return false;
}

TfrmSplash::TfrmSplash()
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    // Every size and font here is in pixels, so the splash does not follow the screen's
    // pixels-per-inch setting.
    setFixedSize(kClientWidth, kClientHeight);
    setOpensCentred(*this, true);
    setCursor(Qt::WaitCursor);
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11, false));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, kClientWidth, kClientHeight);
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel1->setLineWidth(1);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    Panel1->setPalette(white);
    Panel1->setAutoFillBackground(true);

    Image1 = new PictureBox(assets::picturePath(assets::kSplashPicture), Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(-36, -25, 785, 473);

    Label1 = label(Panel1, "Label1", QStringLiteral("Sistema para Elaboração de Plano Alimentar"),
                   pixelFont(QStringLiteral("Arial"), 19), 18, 7);
    Label1->setGeometry(18, 7, 417, 32);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColour(Label1, Qt::black);

    Label2 = label(Panel1, "Label2",
                   QStringLiteral("Base para o Desenvolvimento do Programa\nGUIA ALIMENTAR PARA A POPULAÇÃO BRASILEIRA"),
                   pixelFont(font().family(), 13), 46, 29);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->adjustSize();

    lblNomeEmpresa = label(Panel1, "lblNomeEmpresa", kCompanyPlaceholder, pixelFont(font().family(), 11), 12, 90);
    setTextColour(lblNomeEmpresa, kNavy);

    moduleTitle = new ShadowLabel(QStringLiteral("Módulo Secretária"), Panel1);
    moduleTitle->setObjectName(QStringLiteral("moduleTitle"));
    QFont titleFont = pixelFont(QStringLiteral("Bookman Old Style"), 35);
    titleFont.setUnderline(true);
    moduleTitle->setFont(titleFont);
    setTextColour(moduleTitle, Qt::black);
    moduleTitle->move(57, 115);
    moduleTitle->adjustSize();

    lblVersao = label(Panel1, "lblVersao", QStringLiteral("v 1.0"), pixelFont(QStringLiteral("Tahoma"), 24), 373, 171);

    lblWindowsVersao = label(Panel1, "lblWindowsVersao", QString(), pixelFont(font().family(), 11), 0, 203);
    lblWindowsVersao->setAlignment(Qt::AlignRight | Qt::AlignTop);
    setTextColour(lblWindowsVersao, kNavy);
    setWindowsDescription(QString());

    lblStatus = label(Panel1, "lblStatus", QStringLiteral("Status"), pixelFont(font().family(), 11), 12, 216);
    setTextColour(lblStatus, QColor(0, 255, 128));

    creditsLabel = label(Panel1, "creditsLabel", kCredits, pixelFont(font().family(), 11), 12, 234);
    creditsLabel->resize(416, creditsLabel->height());
}

TfrmSplash::~TfrmSplash() = default;

void TfrmSplash::setWindowsDescription(const QString& description)
{
    QString text = description;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lblWindowsVersao->setText(text);
    lblWindowsVersao->adjustSize();
    lblWindowsVersao->move(kWindowsVersionRight - lblWindowsVersao->width(), 203);
}

void TfrmSplash::FormCreate()
{
    const QString company = QString::fromStdString(
        startup::LeRegistro(startup::kSettingsKey, startup::kCompanyValue));
    if (hasCompanyName(company)) {
        lblNomeEmpresa->setText(company);
        lblNomeEmpresa->adjustSize();
    }
    setWindowFlags(captionlessFlags(windowFlags()));
    setWindowsDescription(QString::fromStdString(sysinfo::DescricaoWindows()));
}

void TfrmSplash::FormShow()
{
    if (toolkit::opensCentred(*this))
        toolkit::centreOnScreen(*this);
}

toolkit::TCloseAction TfrmSplash::FormClose(toolkit::TCloseAction)
{
    return toolkit::caFree;
}

} // namespace vorlu::forms
