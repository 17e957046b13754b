#pragma once

#include "toolkit/Form.h"
#include "toolkit/FormGlobal.h"

#include <QString>

#include <cstdint>

class QFrame;
class QLabel;

namespace vorlu::forms {

// The window style bits the splash clears: WS_CAPTION (the title bar with its border); every
// other bit stays.
inline constexpr std::uint32_t kCaptionlessStyleMask = 0xFF3FFFFF;
constexpr std::uint32_t captionlessStyle(std::uint32_t style)
{
    return style & kCaptionlessStyleMask;
}
// The same on Qt's window flags: no title bar and no frame, everything else kept.
Qt::WindowFlags captionlessFlags(Qt::WindowFlags flags);

// Whether a company name counts as given: something is left once the blanks and control
// characters at both ends are removed.
bool hasCompanyName(const QString& name);

// The splash: names the system and the module, the company the installation belongs to, the
// version, the running system and a status line. Borderless, on top, centred, fixed
// 455 x 256 pixels whatever the screen's pixels per inch, with the hourglass cursor over it.
class TfrmSplash : public toolkit::TForm {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 455;
    static constexpr int kClientHeight = 256;
    // lblWindowsVersao keeps its right edge here and grows to the left.
    static constexpr int kWindowsVersionRight = 432;
    static inline const QString kCompanyPlaceholder = QStringLiteral("{Usuário}\n{Empresa}");
    static inline const QString kCredits =
        QStringLiteral("© Vorlu Sistemas · Todos os direitos reservados");

    TfrmSplash();
    ~TfrmSplash() override;

    QFrame* Panel1 = nullptr;
    QWidget* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblNomeEmpresa = nullptr;
    QLabel* moduleTitle = nullptr; // drawn with a silver shadow
    QLabel* lblVersao = nullptr;
    QLabel* lblWindowsVersao = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* creditsLabel = nullptr;

    // Sets the system description (one or two lines, CR LF between them), right-aligned at
    // kWindowsVersionRight.
    void setWindowsDescription(const QString& description);

protected:
    // The company name from the settings store, the window style, the system description.
    // A company value that is not text fails the creation.
    void FormCreate() override;
    void FormShow() override;
    toolkit::TCloseAction FormClose(toolkit::TCloseAction action) override;
};

inline toolkit::FormGlobal<TfrmSplash> frmSplash;

} // namespace vorlu::forms
