// Read and write failures on demand: a test program that links this file gets
// these reads and writes in place of the engine's own (engine/disco.h), so a
// chosen read or write fails as a failing disk's would, on any system.
#pragma once

namespace prueba {

// The numero-th read from now on fails, with the stream's error flag set;
// -1 lets every read through again.
void FallarLecturaNumero(int numero);
// The same for writes.
void FallarEscrituraNumero(int numero);

} // namespace prueba
