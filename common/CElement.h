// CElement: the intrusive list element from which CTimer derives. An element owns the element
// it links to as next (destroying one destroys its successors) and not its previous one.
#pragma once
#include <atomic>
#include <cstdint>

template <class T, class U> class CElement {
  public:
    CElement() { ++s_live; }
    // A copy is a new, unlinked element: links (and the ownership of next) are never shared.
    CElement(const CElement&) : CElement() {}
    CElement& operator=(const CElement&) { return *this; }
    virtual ~CElement() = 0;
    virtual void Touch() {}
    virtual CElement* Self() { return this; }

    // Links next / prev (a link counts as a reference on its target).
    void LinkNext(CElement* next);
    void LinkPrev(CElement* prev);
    // Releasing a link decrements the target's m_refs when above 0 and clears the link.
    void ReleaseNext();
    void ReleasePrev();
    CElement* Next() const { return m_next; }
    CElement* Prev() const { return m_prev; }
    int32_t Refs() const { return m_refs; }

    static long LiveCount() { return s_live; }

  protected:
    int32_t m_refs = 0;         // links that point at this element
    CElement* m_next = nullptr; // owned
    CElement* m_prev = nullptr; // not owned

  private:
    static inline std::atomic<long> s_live{0}; // elements live in several threads
};

template <class T, class U> CElement<T, U>::~CElement() {
    CElement* next = m_next;
    ReleaseNext();
    delete next;
    ReleasePrev();
    --s_live;
}

template <class T, class U> void CElement<T, U>::LinkNext(CElement* next) {
    ReleaseNext();
    m_next = next;
    if (next) ++next->m_refs;
}

template <class T, class U> void CElement<T, U>::LinkPrev(CElement* prev) {
    ReleasePrev();
    m_prev = prev;
    if (prev) ++prev->m_refs;
}

template <class T, class U> void CElement<T, U>::ReleaseNext() {
    if (m_next && m_next->m_refs > 0) --m_next->m_refs;
    m_next = nullptr;
}

template <class T, class U> void CElement<T, U>::ReleasePrev() {
    if (m_prev && m_prev->m_refs > 0) --m_prev->m_refs;
    m_prev = nullptr;
}
