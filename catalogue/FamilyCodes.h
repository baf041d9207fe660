#pragma once

#include <QString>

#include <array>

namespace kvr::BaseModule {

// Device families, in catalogue order. The family of a device is brand name
// followed by range name; it is compared with these exactly, letter case included.
inline const QString ATMEL89C = QStringLiteral("ATMEL89C");
inline const QString ATMEL89L = QStringLiteral("ATMEL89L");
inline const QString ATMEL89S = QStringLiteral("ATMEL89S");
inline const QString ATMELT89C51xx = QStringLiteral("ATMELT89C51xx");
inline const QString PHILIPS87C = QStringLiteral("PHILIPS87C");
inline const QString PHILIPS89C = QStringLiteral("PHILIPS89C");
inline const QString PHILIPS66X = QStringLiteral("PHILIPS66X");
inline const QString PHILIPSRXPlus = QStringLiteral("PHILIPSRX+");
inline const QString PHILIPSRX2 = QStringLiteral("PHILIPSRX2");
inline const QString PHILIPS5xX2 = QStringLiteral("PHILIPS5xX2");
inline const QString PHILIPS6xX2 = QStringLiteral("PHILIPS6xX2");
inline const QString PHILIPSRx2XX = QStringLiteral("PHILIPSRx2XX");
inline const QString PHILIPSVRx2XX = QStringLiteral("PHILIPSVRx2XX");
inline const QString PHILIPSLPC = QStringLiteral("PHILIPSLPC");
inline const QString SSTFXX = QStringLiteral("SSTFXX");
inline const QString SSTCXX = QStringLiteral("SSTCXX");
inline const QString SST89x5xxRx = QStringLiteral("SST89x5xxRx");
inline const QString WINBOND78E = QStringLiteral("WINBOND78E");
inline const QString WINBOND78LE = QStringLiteral("WINBOND78LE");
inline const QString DALLASDS89C = QStringLiteral("DALLASDS89C");
inline const QString EEPROM24Cxx = QStringLiteral("EEPROM24Cxx");

inline const std::array<QString, 21> FamilyCodes{
    ATMEL89C,      ATMEL89L,      ATMEL89S,   ATMELT89C51xx, PHILIPS87C,  PHILIPS89C,
    PHILIPS66X,    PHILIPSRXPlus, PHILIPSRX2, PHILIPS5xX2,   PHILIPS6xX2, PHILIPSRx2XX,
    PHILIPSVRx2XX, PHILIPSLPC,    SSTFXX,     SSTCXX,        SST89x5xxRx, WINBOND78E,
    WINBOND78LE,   DALLASDS89C,   EEPROM24Cxx};

// True when code is one of the 21 families (exact, case-sensitive).
bool IsFamilyCode(const QString &code);

} // namespace kvr::BaseModule
