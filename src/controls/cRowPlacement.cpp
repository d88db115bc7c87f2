#include "controls/cRowPlacement.h"

#include "common/cError.h"
#include "desktop/cTwips.h"
#include "controls/cControls.h"
#include "controls/cFrame.h"

void cRowPlacement::placeOnRow(QWidget *control, int index, qint16 vgap, float height)
{
    created(control);
    cTwips::setTop(control, float(double(index) * double(vgap)));
    cTwips::setHeight(control, height);
}

void cRowPlacement::growFrame(cFrame &frame, const QWidget *control, int margin)
{
    const double bottom = double(cTwips::top(control)) + cTwips::height(control) + margin;
    if (frame.Height() >= bottom)
        return;
    frame.setHeight(int(bottom));
}

namespace {
cError notSet()
{
    return cError::objectNotSet();
}
} // namespace

QWidget *cRowPlacement::create(const std::shared_ptr<cFrame> &f, const QString &classId,
                               const QString &name, bool isLabel)
{
    QWidget *frame = created(f ? f->obj.data() : nullptr);
    return cControls::Add(frame->window(), classId, name, frame->parentWidget(),
                          isLabel ? cControls::Space::Labels : cControls::Space::Fields);
}

QWidget *cRowPlacement::created(QWidget *control)
{
    if (!control)
        throw notSet();
    return control;
}

cFrame &cRowPlacement::frame(const std::shared_ptr<cFrame> &frame)
{
    if (!frame || !frame->obj)
        throw notSet();
    return *frame;
}
