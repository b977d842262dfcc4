#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// The numbers a phones field holds, read conservatively: a mobile number of Brazil (area code and
// nine digits starting with 9; the clinic's area code when none was typed) as 55 followed by eleven
// digits, ready for WhatsApp; any other number (a landline, a foreign one) as typed, to be called;
// text that reads as no number at all is left out.
struct PhoneNumbers
{
    QStringList mobiles;
    QStringList others;
};
PhoneNumbers phoneNumbers(const QString &phones, const QString &clinicAreaCode);

} // namespace velmora
