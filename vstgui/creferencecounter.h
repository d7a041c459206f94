// CReferenceCounter: the ownership rule of views, bitmaps, drawing contexts
// and drag containers.
//
// The creator holds the first reference (the count starts at 1); every other
// holder of a pointer takes one with remember() and gives it back with
// forget(). The forget() that finds the count at 1 deletes the object through
// its virtual destructor. [ui thread] only: the count is not atomic.
#pragma once

#include <cstdint>

namespace VSTGUI {

class CReferenceCounter {
public:
    CReferenceCounter() = default;
    CReferenceCounter(const CReferenceCounter&) = delete;
    CReferenceCounter& operator=(const CReferenceCounter&) = delete;
    virtual ~CReferenceCounter() = default;

    virtual void forget() {
        if (nbReference-- == 1) delete this;
    }
    virtual void remember() { nbReference++; }

    int32_t getNbReference() const { return nbReference; }

private:
    int32_t nbReference = 1;
};

// Holds one reference for a scope: keeps a view alive while a call into it
// may remove it from its container.
template <class T>
class ScopedReference {
public:
    explicit ScopedReference(T* object) : object_(object) {
        if (object_) object_->remember();
    }
    ~ScopedReference() {
        if (object_) object_->forget();
    }
    ScopedReference(const ScopedReference&) = delete;
    ScopedReference& operator=(const ScopedReference&) = delete;

private:
    T* object_;
};

}  // namespace VSTGUI
