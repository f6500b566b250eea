// Moves images from an element's preview pipe to its preview item every 10 ms. The
// preview node owns the proxy (shared pointer) and the item; the proxy owns its timer.
#pragma once

#include "core/InternalPipe.h"

#include <QImage>
#include <QObject>

#include <boost/shared_ptr.hpp>

class ControlAndStatus;
class PreviewGraphicsItem;
class QTimer;

class PreviewProxy : public QObject {
    Q_OBJECT
public:
    PreviewProxy(boost::shared_ptr<ControlAndStatus> hub, QObject* parent = nullptr);

    void SetTarget(PreviewGraphicsItem* item) { target_ = item; }
    void SetPipe(boost::shared_ptr<InternalPipe<QImage>> pipe) { pipe_ = std::move(pipe); }

public slots:
    void UpdatePreview();

private:
    PreviewGraphicsItem* target_ = nullptr;
    boost::shared_ptr<InternalPipe<QImage>> pipe_;
    QTimer* timer_ = nullptr;
    boost::shared_ptr<ControlAndStatus> hub_;
};
