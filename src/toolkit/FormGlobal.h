#pragma once

#include "toolkit/Form.h"

#include <QPointer>

#include <utility>

namespace vorlu::toolkit {

// The global instance of a form class: empty until the form is first needed, empty again as
// soon as the form is destroyed (it frees itself when closed). Declare one per form:
//
//     inline FormGlobal<TfrmBD> frmBD;
//     if (!frmBD) frmBD.create();        // or simply frmBD.ensure()
//     frmBD->txtCaminho->setText(...);
template <class T>
class FormGlobal {
public:
    T* get() const { return form_.data(); }
    T* operator->() const { return form_.data(); }
    T& operator*() const { return *form_; }
    explicit operator bool() const { return !form_.isNull(); }
    bool isEmpty() const { return form_.isNull(); }

    // Creates the form (CreateForm: FormCreate runs) and keeps it.
    template <class... Args>
    T* create(Args&&... args)
    {
        form_ = CreateForm<T>(std::forward<Args>(args)...);
        return form_.data();
    }

    // The form, created first only when the global is empty.
    template <class... Args>
    T* ensure(Args&&... args)
    {
        if (form_.isNull())
            create(std::forward<Args>(args)...);
        return form_.data();
    }

    // Points the global at a form created elsewhere (the main window made by the entry).
    void assign(T* form) { form_ = form; }
    // Empties the global; the form itself lives on.
    void clear() { form_.clear(); }

private:
    QPointer<T> form_;
};

} // namespace vorlu::toolkit
