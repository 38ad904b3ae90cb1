#include "report/InputListing.h"

#include "report/PrintZoneWriter.h"

QString composeInputListing(const TestData& data)
{
    PrintZoneWriter out(qsizetype(data.NumStud + 1) * (data.NumItems + 32));
    out.text(u"เฉลยคือ   ").text(data.AllKeys).endLine();
    for (int i = 1; i <= data.NumStud; ++i)
        out.text(data.StudID[i]).zone().text(data.StudAns[i].toString()).endLine();
    return out.take();
}
