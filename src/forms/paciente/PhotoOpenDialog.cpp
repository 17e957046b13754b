#include "forms/paciente/PhotoOpenDialog.h"

#include "PhotoFileDialog.h"
#include "toolkit/Dialogs.h"

#include <QFileDialog>
#include <QGridLayout>

namespace vorlu::forms::paciente {

std::optional<QString> PhotoOpenDialog::execute()
{
    toolkit::FileOpenRequest request;
    request.owner = owner_;
    request.filter = QString::fromUtf8(photo::kPhotoFilter);
    request.fileName = lastFile_;
    const QString offered = lastFile_;
    request.customize = [offered](QFileDialog& dialog) {
        auto* preview = new photo::ImagePreview(&dialog);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
        QObject::connect(&dialog, &QFileDialog::currentChanged, preview, &photo::ImagePreview::showFile);
        // The list reads its folder later; the offered file is previewed at once.
        preview->showFile(offered);
    };
    const QString chosen = toolkit::GetOpenFileName(request);
    if (chosen.isEmpty())
        return std::nullopt;
    lastFile_ = chosen;
    return chosen;
}

} // namespace vorlu::forms::paciente
