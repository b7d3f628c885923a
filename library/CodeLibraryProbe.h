// The check a file must pass before it becomes the user code library.
#pragma once

class CAdoDatabase;

namespace CodeLibraryProbe {

// Opens "SELECT id,title,text FROM CodeTable" over the connection and closes it
// again without reading rows. False when the connection is closed or the query fails.
bool Passes(CAdoDatabase& database);

} // namespace CodeLibraryProbe
