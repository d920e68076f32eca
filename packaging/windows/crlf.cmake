# Copies the text file ENTRADA to SALIDA with CR LF line ends.
file(READ ${ENTRADA} texto)
string(REPLACE "\r\n" "\n" texto "${texto}")
string(REPLACE "\n" "\r\n" texto "${texto}")
file(WRITE ${SALIDA} "${texto}")
