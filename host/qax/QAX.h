// The QAX ontology service, as the channel module sees it.
#ifndef QAX_HOST_QAX_QAX_H_
#define QAX_HOST_QAX_QAX_H_
#endif  // QAX_HOST_QAX_QAX_H_
