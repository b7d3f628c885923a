#include "CodeLibraryProbe.h"

#include "AdoDatabase.h"
#include "AdoResultSet.h"
#include "CodeLibrarySql.h"

namespace CodeLibraryProbe {

bool Passes(CAdoDatabase& database)
{
    try {
        if (!database.IsOpen())
            return false;
        CAdoResultSet rows;
        rows.Open(database.GetConnection(), CodeLibrarySql::SelectAll(), Ado::adOpenForwardOnly,
                  Ado::adLockReadOnly, Ado::adUseClient);
        rows.Close();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace CodeLibraryProbe
