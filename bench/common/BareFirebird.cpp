#include "BareFirebird.h"

namespace vorlu::bench {

BareSession::BareSession(const std::string& location)
    : master_(Firebird::fb_get_master_interface()), status_(master_->getStatus())
{
    using namespace Firebird;
    provider_ = master_->getDispatcher();
    IXpbBuilder* dpb = master_->getUtilInterface()->getXpbBuilder(&status_, IXpbBuilder::DPB, nullptr, 0);
    dpb->insertString(&status_, isc_dpb_user_name, "XMXERW");
    dpb->insertString(&status_, isc_dpb_password, "quillfern");
    attachment_ =
        provider_->attachDatabase(&status_, location.c_str(), dpb->getBufferLength(&status_), dpb->getBuffer(&status_));
    dpb->dispose();
    const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait};
    transaction_ = attachment_->startTransaction(&status_, sizeof tpb, tpb);
}

BareSession::~BareSession()
{
    try {
        if (transaction_)
            transaction_->rollback(&status_);
        if (attachment_)
            attachment_->detach(&status_);
    } catch (...) {
    }
    if (provider_)
        provider_->release();
    status_.dispose();
}

} // namespace vorlu::bench
