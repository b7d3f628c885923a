#include "ReferenceLoad.h"

#include "ReferencePage.h"
#include "ReferenceTables.h"

void LoadReferencePages(const std::function<QWidget*(int tab)>& viewAt,
                        const std::function<CAdoDatabase*()>& referenceDatabase)
{
    if (!viewAt)
        return;
    for (int tab : ReferenceTables::LoadOrder()) {
        auto* page = qobject_cast<CReferencePage*>(viewAt(tab));
        if (page)
            page->Load(referenceDatabase ? referenceDatabase() : nullptr);
    }
}
