#include "dbaccess/EnhFields.h"

FIB_DEFINE_FIELD_CLASS(TEnhStringField)
FIB_DEFINE_FIELD_CLASS(TEnhIntegerField)
FIB_DEFINE_FIELD_CLASS(TEnhFloatField)
FIB_DEFINE_FIELD_CLASS(TEnhDateField)
FIB_DEFINE_FIELD_CLASS(TEnhDateTimeField)

namespace {

template <class F>
bool SameClass(TField& target, const TField& source, F*& t, const F*& s) {
    t = dynamic_cast<F*>(&target);
    s = dynamic_cast<const F*>(&source);
    return t && s;
}

template <class F>
void CopyCommon(F& t, const F& s) {
    t.Attributes = s.Attributes;
    t.LookUpTableName = s.LookUpTableName;
    t.LookupKeyFields = s.LookupKeyFields;
    t.LookupResultField = s.LookupResultField;
    t.KeyFields = s.KeyFields;
}

template <class F>
void CopyDateAttributes(TField& target, const TField& source) {
    F* t;
    const F* s;
    if (!SameClass(target, source, t, s)) return;
    CopyCommon(*t, *s);
    t->Origin = s->Origin;
    t->EditMask = s->EditMask;
}

template <class F>
void CopyNumericAttributes(TField& target, const TField& source) {
    F* t;
    const F* s;
    if (!SameClass(target, source, t, s)) return;
    CopyCommon(*t, *s);
    t->DisplayFormat = s->DisplayFormat;
    t->EditFormat = s->EditFormat;
    t->Origin = s->Origin;
}

}  // namespace

void CopyEnhStringAttributes(TField& target, const TField& source) {
    TEnhStringField* t;
    const TEnhStringField* s;
    if (!SameClass(target, source, t, s) || t == s) return;
    CopyCommon(*t, *s);
    t->Origin = s->Origin;
    t->EditMask = s->EditMask;
    t->SwitchField = s->SwitchField;
    t->SwitchParams()->Assign(s->SwitchParams());
}

void CopyEnhIntegerAttributes(TField& target, const TField& source) {
    CopyNumericAttributes<TEnhIntegerField>(target, source);
}
void CopyEnhFloatAttributes(TField& target, const TField& source) {
    CopyNumericAttributes<TEnhFloatField>(target, source);
}
void CopyEnhDateAttributes(TField& target, const TField& source) { CopyDateAttributes<TEnhDateField>(target, source); }
void CopyEnhDateTimeAttributes(TField& target, const TField& source) {
    CopyDateAttributes<TEnhDateTimeField>(target, source);
}

void CopyEnhAttributes(TField& target, const TField& source) {
    if (dynamic_cast<TEnhStringField*>(&target))
        CopyEnhStringAttributes(target, source);
    else if (dynamic_cast<TEnhIntegerField*>(&target))
        CopyEnhIntegerAttributes(target, source);
    else if (dynamic_cast<TEnhFloatField*>(&target))
        CopyEnhFloatAttributes(target, source);
    else if (dynamic_cast<TEnhDateField*>(&target))
        CopyEnhDateAttributes(target, source);
    else if (dynamic_cast<TEnhDateTimeField*>(&target))
        CopyEnhDateTimeAttributes(target, source);
}
