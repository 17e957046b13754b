#include "PhotoCommands.h"

namespace vorlu::photo {

bool addPhotoFromFile(PhotoView& view, const std::optional<QString>& chosen)
{
    if (!chosen || chosen->isEmpty())
        return false;
    return view.readFile(*chosen);
}

void removePhoto(PhotoView& view)
{
    view.clear();
}

} // namespace vorlu::photo
