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

// The photo steps over the record screen's one buffer `StreamFoto`: any stream with bytes()
// (a std::vector<std::uint8_t>), position(), setPosition() and clear(), as the data layer's
// MemoryStream has.

// `Selecionar`: blank the view, then read the row's bytes that the caller has put into the
// stream (none for NULL or empty) from position 0. Returns whether a photo was read.
template <typename Stream>
bool showStoredPhoto(PhotoView& view, Stream& streamFoto)
{
    std::size_t position = 0;
    const bool read = view.showStored(streamFoto.bytes(), position);
    streamFoto.setPosition(position);
    return read;
}

// `Atualizar`: empty the stream, write what the save stores into it, position back to 0.
template <typename Stream>
void encodePhotoForSaving(PhotoView& view, Stream& streamFoto)
{
    streamFoto.clear();
    view.writeJpeg(streamFoto.bytes());
    streamFoto.setPosition(0);
}

} // namespace vorlu::photo
