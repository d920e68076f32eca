#!/usr/bin/env python3
"""Writes tests/data/iban_paises.txt: one valid IBAN for every country of the
IBAN registry (ISO 13616, as SWIFT publishes it), with its own check digits
computed here with Python's integers, independently of the program. A Spanish
IBAN also gets the check digits of the account inside it.

    scripts/iban_paises.py > tests/data/iban_paises.txt
"""

# Country code and IBAN length, from the registry.
REGISTRO = """
AD 24  AE 23  AL 28  AT 20  AZ 28  BA 20  BE 16  BG 22  BH 22  BI 27
BR 29  BY 28  CH 21  CR 22  CY 28  CZ 24  DE 22  DJ 27  DK 18  DO 28
EE 20  EG 29  ES 24  FI 18  FK 18  FO 18  FR 27  GB 22  GE 22  GI 23
GL 18  GR 27  GT 28  HN 28  HR 21  HU 28  IE 22  IL 23  IQ 23  IS 26
IT 27  JO 30  KW 30  KZ 20  LB 28  LC 32  LI 21  LT 20  LU 20  LV 21
LY 25  MC 27  MD 24  ME 22  MK 19  MN 20  MR 27  MT 31  MU 30  NI 28
NL 18  NO 15  OM 23  PK 24  PL 28  PS 29  PT 25  QA 29  RO 24  RS 22
RU 33  SA 24  SC 31  SD 18  SE 24  SI 19  SK 24  SM 27  SO 23  ST 25
SV 28  TL 23  TN 24  TR 26  UA 29  VA 22  VG 24  XK 20  YE 30
"""

PESOS_CCC = [1, 2, 4, 8, 5, 10, 9, 7, 3, 6]


def digito_ccc(cifras):
    """One check digit of a Spanish account over ten digits."""
    resto = 11 - sum(int(c) * p for c, p in zip(cifras, PESOS_CCC)) % 11
    return {10: 1, 11: 0}.get(resto, resto)


def bban(pais, largo, semilla):
    """Letters and digits, mostly high ones (a letter counts as two digits,
    Z as 35), so that the number is as long and as large as it gets. A
    Spanish account is digits only, its check digits in place."""
    if pais != "ES":
        return "".join("ZYXW"[(i + semilla) % 4] if (i + semilla) % 3 else str(9 - i % 10)
                       for i in range(largo))
    cifras = "".join(str((i * 7 + semilla) % 10) for i in range(largo))
    entidad, oficina, cuenta = cifras[0:4], cifras[4:8], cifras[10:20]
    dc = f"{digito_ccc('00' + entidad + oficina)}{digito_ccc(cuenta)}"
    return entidad + oficina + dc + cuenta


def iban(pais, largo, semilla):
    resto = bban(pais, largo - 4, semilla)
    numero = int("".join(str(int(c, 36)) for c in resto + pais + "00"))
    return f"{pais}{98 - numero % 97:02d}{resto}"


def main():
    campos = REGISTRO.split()
    for semilla, (pais, largo) in enumerate(zip(campos[0::2], campos[1::2])):
        print(iban(pais, int(largo), semilla))


main()
