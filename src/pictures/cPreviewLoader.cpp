#include "pictures/cPreviewLoader.h"

#include "pictures/cPictureReader.h"

#include <QFileInfo>

namespace {
// A few steps back and forth, at a few hundred kilobytes each.
constexpr qsizetype keptPreviews = 8;
} // namespace

cPreviewLoader::cPreviewLoader(const QSize &box, QObject *parent) : QObject(parent), m_box(box) {}

cPreviewLoader::~cPreviewLoader()
{
    // The decodes still running post to this object; they must end before it does.
    m_pool.waitForDone();
}

void cPreviewLoader::request(const QString &path, const QStringList &ahead)
{
    m_wanted = path;
    m_queue.clear();
    if (const Kept *kept = fresh(path)) {
        m_wanted.clear();
        emit ready(path, kept->preview);
    } else if (!m_running.contains(path)) {
        m_queue.append(path);
    }
    for (const QString &next : ahead) {
        if (!m_running.contains(next) && !fresh(next))
            m_queue.append(next);
    }
    startNext();
}

cPreviewLoader::Preview cPreviewLoader::decode(const QString &path, const QSize &box)
{
    cPictureReader reader(path);
    Preview preview;
    if (const cError error = reader.open(); error.failed()) {
        preview.problem = error.description();
        return preview;
    }
    preview.image = reader.readFitting(box, &preview.upright);
    if (preview.image.isNull())
        preview.problem = reader.errorString();
    return preview;
}

const cPreviewLoader::Kept *cPreviewLoader::fresh(const QString &path) const
{
    for (const Kept &kept : m_kept) {
        if (kept.path == path)
            return kept.stamp == cFileStamp::of(path) ? &kept : nullptr;
    }
    return nullptr;
}

void cPreviewLoader::startNext()
{
    while (m_running.size() < m_pool.maxThreadCount() && !m_queue.isEmpty()) {
        const QString path = m_queue.takeFirst();
        m_running.append(path);
        m_pool.start([this, path, box = m_box] {
            // Stamped before reading: a change during the decode makes the next request read again.
            const cFileStamp stamp = cFileStamp::of(path);
            const Preview preview = decode(path, box);
            QMetaObject::invokeMethod(
                this, [this, path, stamp, preview] { finished(path, stamp, preview); },
                Qt::QueuedConnection);
        });
    }
}

void cPreviewLoader::finished(const QString &path, const cFileStamp &stamp, const Preview &preview)
{
    m_running.removeOne(path);
    m_kept.removeIf([&path](const Kept &kept) { return kept.path == path; });
    m_kept.append({path, stamp, preview});
    if (m_kept.size() > keptPreviews)
        m_kept.removeFirst();
    if (path == m_wanted) {
        m_wanted.clear();
        emit ready(path, preview);
    }
    startNext();
}
