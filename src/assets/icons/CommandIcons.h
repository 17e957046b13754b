#pragma once

#include <QIcon>

class QPainter;
class QRectF;

namespace vorlu::assets {

// The record screen's command and photo button icons. They are drawn as vectors at whatever
// size and pixel density the button asks for, so they stay sharp on high-density screens; the
// disabled state is drawn in greys.
enum class CommandIcon {
    Novo,
    Alterar,
    Excluir,
    Localizar,
    Confirmar,
    Cancelar,
    Fechar,
    AdicionaFoto,
    RemoveFoto,
};

QIcon commandIcon(CommandIcon which);

// Draws the icon into `target` (a square works best); `enabled` false draws the greyed form.
void drawCommandIcon(QPainter& painter, const QRectF& target, CommandIcon which, bool enabled = true);

} // namespace vorlu::assets
