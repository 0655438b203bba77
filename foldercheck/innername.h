#pragma once

#include "base/result.h"
#include "formats/character.h"

#include <QByteArray>

namespace kelvane {

// The name written inside the character file of those bytes, as read into
// character: the text layout's name line, or the binary layout's outfit name.
QByteArray innerNameOf(const QByteArray &bytes, const Character &character);

// The bytes of a character file (text or binary) with its inner name set to
// name, every other byte as it was: only the name's own bytes change, so
// nothing the model does not hold is lost. Fails when the file cannot be
// read as a character file or the name cannot be stored in it.
Result<QByteArray> withInnerName(const QByteArray &bytes, const QByteArray &name);

} // namespace kelvane
