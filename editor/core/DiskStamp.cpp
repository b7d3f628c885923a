#include "DiskStamp.h"

#include <QFile>

#include <sys/stat.h>

CDiskStamp CDiskStamp::Of(const QString& path)
{
    CDiskStamp stamp;
    struct stat st {};
    if (path.isEmpty() || stat(QFile::encodeName(path).constData(), &st) != 0)
        return stamp;
    stamp.bExists = true;
    stamp.nSize = st.st_size;
    stamp.nModifiedNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    stamp.nInode = st.st_ino;
    stamp.nDevice = st.st_dev;
    return stamp;
}
