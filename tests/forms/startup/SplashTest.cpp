// The splash on its own: the company area, the window style, its fixed layout and the system
// description's right edge.

#include "StartupTestSupport.h"

#include "forms/untSplash.h"
#include "platform/Registry.h"
#include "toolkit/testing/QtTestMain.h"
#include "toolkit/testing/RecordingDialogs.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <memory>

using namespace vorlu;
using forms::frmSplash;
using forms::TfrmSplash;

class SplashTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void companyArea_data();
    void companyArea();
    void companyOfAnotherTypeFailsTheCreation();
    void styleClearsOnlyTheCaptionBits();
    void windowIsFixedBorderlessOnTopCentred();
    void layoutAndTexts();
    void systemDescriptionKeepsItsRightEdge_data();
    void systemDescriptionKeepsItsRightEdge();

private:
    std::unique_ptr<testing::TempSettings> settings_;
};

void SplashTest::init()
{
    settings_ = std::make_unique<testing::TempSettings>();
}

void SplashTest::cleanup()
{
    if (frmSplash)
        frmSplash->Free();
    testing::flushDeferredDeletes();
    QVERIFY(frmSplash.isEmpty());
    settings_.reset();
}

void SplashTest::companyArea_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("company");
    QTest::addColumn<QString>("shown");
    const QString placeholder = QStringLiteral("{Usuário}\n{Empresa}");
    QTest::newRow("no value") << false << QString() << placeholder;
    QTest::newRow("empty") << true << QString() << placeholder;
    QTest::newRow("blanks and control characters") << true << QStringLiteral(" \t \r\n ") << placeholder;
    QTest::newRow("name") << true << QStringLiteral("Clínica Bem Nutrir") << QStringLiteral("Clínica Bem Nutrir");
    QTest::newRow("leading and trailing blanks kept")
        << true << QStringLiteral("   Clínica Bem Nutrir  ") << QStringLiteral("   Clínica Bem Nutrir  ");
}

void SplashTest::companyArea()
{
    QFETCH(bool, stored);
    QFETCH(QString, company);
    QFETCH(QString, shown);
    if (stored)
        testing::storeText("Empresa", company.toStdString());
    frmSplash.ensure();
    QCOMPARE(frmSplash->lblNomeEmpresa->text(), shown);
    QCOMPARE(frmSplash->lblNomeEmpresa->pos(), QPoint(12, 90));
}

void SplashTest::companyOfAnotherTypeFailsTheCreation()
{
    testing::storeNumber("Empresa", 7);
    const int formsBefore = int(toolkit::TForm::forms().size());
    try {
        frmSplash.ensure();
        QFAIL("the splash was created");
    } catch (const platform::RegistryTypeError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Tipo de dados inválido para 'Empresa'"));
    }
    QVERIFY(frmSplash.isEmpty());
    QCOMPARE(int(toolkit::TForm::forms().size()), formsBefore);
}

void SplashTest::styleClearsOnlyTheCaptionBits()
{
    // WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPSIBLINGS loses WS_CAPTION (0x00C00000) only.
    QCOMPARE(forms::captionlessStyle(0x16CF0000u), 0x160F0000u);
    QCOMPARE(forms::captionlessStyle(0x00C00000u), 0u);
    QCOMPARE(forms::captionlessStyle(0xFFFFFFFFu), 0xFF3FFFFFu);

    const Qt::WindowFlags flags = forms::captionlessFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                                          | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
    QCOMPARE(Qt::WindowType(int(flags & Qt::WindowType_Mask)), Qt::Window);
}

void SplashTest::windowIsFixedBorderlessOnTopCentred()
{
    frmSplash.ensure();
    TfrmSplash& splash = *frmSplash;
    QCOMPARE(splash.size(), QSize(455, 256));
    QCOMPARE(splash.minimumSize(), splash.maximumSize());
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(!splash.windowFlags().testFlag(Qt::WindowTitleHint));
    QVERIFY(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(splash.cursor().shape(), Qt::WaitCursor);

    // Every font in pixels: the layout does not follow the screen's pixels per inch.
    for (QLabel* label : splash.findChildren<QLabel*>())
        QVERIFY2(label->font().pixelSize() > 0, qPrintable(label->objectName()));

    splash.show();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(std::abs(splash.frameGeometry().center().x() - area.center().x()) <= 1);
    QVERIFY(std::abs(splash.frameGeometry().center().y() - area.center().y()) <= 1);
    QCOMPARE(splash.size(), QSize(455, 256));
    splash.close();
}

void SplashTest::layoutAndTexts()
{
    frmSplash.ensure();
    TfrmSplash& splash = *frmSplash;
    QCOMPARE(splash.Panel1->geometry(), QRect(0, 0, 455, 256));
    QCOMPARE(splash.Panel1->frameShape(), QFrame::Box);
    QCOMPARE(splash.Panel1->frameShadow(), QFrame::Plain);
    QCOMPARE(splash.Panel1->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(splash.Image1->geometry(), QRect(-36, -25, 785, 473));
    QVERIFY(!QPixmap(QStringLiteral(":/pictures/splash.png")).isNull());

    QCOMPARE(splash.Label1->text(), QStringLiteral("Sistema para Elaboração de Plano Alimentar"));
    QCOMPARE(splash.Label1->geometry(), QRect(18, 7, 417, 32));
    QCOMPARE(splash.Label1->font().pixelSize(), 19);
    QVERIFY(splash.Label1->alignment().testFlag(Qt::AlignHCenter));
    QCOMPARE(splash.Label2->text(),
             QStringLiteral("Base para o Desenvolvimento do Programa\nGUIA ALIMENTAR PARA A POPULAÇÃO BRASILEIRA"));
    QCOMPARE(splash.Label2->pos(), QPoint(46, 29));
    QCOMPARE(splash.Label2->font().pixelSize(), 13);
    QCOMPARE(splash.lblNomeEmpresa->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
    QCOMPARE(splash.moduleTitle->text(), QStringLiteral("Módulo Secretária"));
    QCOMPARE(splash.moduleTitle->pos(), QPoint(57, 115));
    QCOMPARE(splash.moduleTitle->font().pixelSize(), 35);
    QVERIFY(splash.moduleTitle->font().bold() && splash.moduleTitle->font().underline());
    QCOMPARE(splash.lblVersao->text(), QStringLiteral("v 1.0"));
    QCOMPARE(splash.lblVersao->pos(), QPoint(373, 171));
    QCOMPARE(splash.lblVersao->font().pixelSize(), 24);
    QCOMPARE(splash.lblStatus->text(), QStringLiteral("Status"));
    QCOMPARE(splash.lblStatus->pos(), QPoint(12, 216));
    QCOMPARE(splash.lblStatus->palette().color(QPalette::WindowText), QColor(0, 255, 128));
    QCOMPARE(splash.creditsLabel->geometry().topLeft(), QPoint(12, 234));
    QCOMPARE(splash.creditsLabel->width(), 416);
    QVERIFY(!splash.creditsLabel->text().isEmpty());
    QVERIFY(!splash.creditsLabel->text().contains(QLatin1Char('\n')));
    QVERIFY(splash.creditsLabel->fontMetrics().horizontalAdvance(splash.creditsLabel->text()) <= 416);

    // Filled at creation with the running system's own description, never a Windows name
    // this system does not run.
    QVERIFY(!splash.lblWindowsVersao->text().isEmpty());
#ifndef _WIN32
    QVERIFY(!splash.lblWindowsVersao->text().contains(QStringLiteral("Microsoft Windows")));
#endif
}

void SplashTest::systemDescriptionKeepsItsRightEdge_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("lines");
    QTest::newRow("one line") << QStringLiteral("Microsoft Windows 2000 Server 5.00.2195 Server Advanced Server") << 1;
    QTest::newRow("service pack on a second line")
        << QStringLiteral("Microsoft Windows XP 5.01.2600\r\nService Pack 3 Professional Personal") << 2;
}

void SplashTest::systemDescriptionKeepsItsRightEdge()
{
    QFETCH(QString, description);
    QFETCH(int, lines);
    frmSplash.ensure();
    QLabel* label = frmSplash->lblWindowsVersao;
    frmSplash->setWindowsDescription(QStringLiteral("x"));
    const int oneLineHeight = label->height();
    frmSplash->setWindowsDescription(description);

    QCOMPARE(label->geometry().x() + label->width(), 432);
    QCOMPARE(label->y(), 203);
    QVERIFY(label->alignment().testFlag(Qt::AlignRight));
    QCOMPARE(label->text().count(QLatin1Char('\n')) + 1, lines);
    QVERIFY(!label->text().contains(QLatin1Char('\r')));
    QVERIFY(label->height() >= oneLineHeight * lines);
    QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(description.section(QStringLiteral("\r\n"), 0, 0)));
}

VORLU_QTEST_MAIN(SplashTest)
#include "SplashTest.moc"
