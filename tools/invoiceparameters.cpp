// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoiceparameters.h"

using namespace Qt::StringLiterals;

QStringList invoiceParameterNames()
{
    QStringList names{u"PCOMPANYNAME"_s, u"PINVOICENUMBER"_s};
    for (int k = 1; k <= 6; ++k)
        names << u"PCOMPANYDETAILS%1"_s.arg(k) << u"PCUSTOMERDETAILS%1"_s.arg(k);
    for (int n = 1; n <= 12; ++n)
        names << u"PQTY%1"_s.arg(n) << u"PDESCRIPTION%1"_s.arg(n) << u"PUNITPRICE%1"_s.arg(n)
              << u"PTOTAL%1"_s.arg(n);
    names << u"PSUBTOTAL"_s << u"PSURCHARGE1"_s << u"PSURCHARGE2"_s << u"PDISCOUNT"_s
          << u"PSHIPPING"_s << u"PTAX"_s << u"PTOTAL"_s << u"PRECEIVED"_s << u"PBALANCE"_s
          << u"PPAYMENTMETHOD"_s << u"PFOOTER1"_s << u"PFOOTER2"_s << u"PFOOTER3"_s
          << u"PCURRENCY"_s << u"PTEL"_s << u"PFAX"_s << u"PDATE"_s << u"PTAXNAME"_s
          << u"PTAXVALUE"_s << u"PSURCHARGEVALUE1"_s << u"PSURCHARGEVALUE2"_s
          << u"PDISCOUNTPERCENT"_s << u"PLOGO"_s;
    return names;
}

QStringList invoiceAmountNames()
{
    QStringList names;
    for (int n = 1; n <= 12; ++n)
        names << u"PUNITPRICE%1"_s.arg(n) << u"PTOTAL%1"_s.arg(n);
    names << u"PSURCHARGE1"_s << u"PDISCOUNT"_s << u"PSUBTOTAL"_s << u"PSHIPPING"_s << u"PTAX"_s
          << u"PTOTAL"_s << u"PSURCHARGE2"_s << u"PRECEIVED"_s << u"PBALANCE"_s;
    return names;
}
