// Read failures on demand: the test program is linked with fread and ferror
// wrapped, so a chosen read of the engine fails as a disk error would.
#pragma once

namespace prueba {

// The numero-th fread from now on fails, with the stream's error flag set;
// -1 lets every read through again.
void FallarLecturaNumero(int numero);

} // namespace prueba
