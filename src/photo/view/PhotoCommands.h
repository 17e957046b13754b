#pragma once

#include "PhotoView.h"

#include <QString>

#include <optional>

namespace vorlu::photo {

// `btnAdicionaFotoClick` once `dlgOpen` has answered: no answer (cancel) changes nothing; a
// file replaces the photo when it holds a readable JPEG. Throws CannotOpenFileError, whose
// text is "Impossível abrir arquivo <file>", when the file cannot be opened; the photo stays.
// Returns whether the photo was replaced.
bool addPhotoFromFile(PhotoView& view, const std::optional<QString>& chosen);

// `btnRemoveFotoClick`: the blank photo of 1 x 1 pixel.
void removePhoto(PhotoView& view);

} // namespace vorlu::photo
