#include "examples/sample/SampleOntology.h"

namespace qaxoi::sample {

const char* SampleOntologyTurtle() {
  return R"TTL(@prefix rdf:  <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .
@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .
@prefix owl:  <http://www.w3.org/2002/07/owl#> .
@prefix xsd:  <http://www.w3.org/2001/XMLSchema#> .
@prefix zoo:  <http://example.org/zoo#> .
@prefix geo:  <http://example.org/geo#> .

zoo:Being a owl:Class ;
    rdfs:comment "Anything that lives."@en ;
    rdfs:subClassOf [ a owl:Restriction ; owl:onProperty zoo:name ; owl:minCardinality 1 ] .

zoo:Animal a owl:Class ;
    rdfs:subClassOf zoo:Being ;
    rdfs:comment "A being that moves and eats."@en .

zoo:Penguin a owl:Class ;
    rdfs:subClassOf zoo:Animal ;
    rdfs:comment "A flightless sea bird of the southern hemisphere."@en .

geo:Place a owl:Class ;
    rdfs:comment "A place on Earth."@en .

zoo:name a owl:DatatypeProperty ;
    rdfs:domain zoo:Being ;
    rdfs:range xsd:string ;
    rdfs:comment "What the keepers call it."@en .

zoo:alive a owl:DatatypeProperty ;
    rdfs:domain zoo:Being ;
    rdfs:range xsd:boolean .

zoo:legs a owl:DatatypeProperty ;
    rdfs:domain zoo:Animal ;
    rdfs:range xsd:integer .

zoo:weight a owl:DatatypeProperty ;
    rdfs:domain zoo:Animal ;
    rdfs:range xsd:decimal ;
    rdfs:comment "Weight in kilograms."@en .

zoo:born a owl:DatatypeProperty ;
    rdfs:domain zoo:Animal ;
    rdfs:range xsd:date .

zoo:habitat a owl:ObjectProperty ;
    rdfs:domain zoo:Penguin ;
    rdfs:range geo:Place .

zoo:ring a owl:DatatypeProperty ;
    rdfs:domain zoo:Penguin ;
    rdfs:range xsd:hexBinary ;
    rdfs:comment "The code on its leg ring, as hex digits."@en .

zoo:species a owl:DatatypeProperty ;
    rdfs:domain zoo:Penguin ;
    rdfs:range xsd:string .

geo:placeName a owl:DatatypeProperty ;
    rdfs:domain geo:Place ;
    rdfs:range xsd:string .

geo:latitude a owl:DatatypeProperty ;
    rdfs:domain geo:Place ;
    rdfs:range xsd:double .
)TTL";
}

}  // namespace qaxoi::sample
