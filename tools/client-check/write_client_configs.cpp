// Writes the chain's configuration for each client family alone, as the program generates it.
//
// The chain A.ASHGROVE.TEST -> NORTH.FENWICK.TEST -> LAB.CORBEL.TEST -> EU.RIVERTON.TEST: two realms
// lie between the client realm A and the server realm EU, and none is a DNS parent of another, so
// that no KDC can guess the way from the names. The realms' KDCs listen on 127.0.0.1, at PORT, PORT
// + 1, PORT + 2 and PORT + 3.
#include "config_generation.h"

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: write_client_configs FOLDER PORT\n";
        return 2;
    }
    RealmDirectory directory;
    const char* const chain[] = {"a.ashgrove.test", "north.fenwick.test", "lab.corbel.test", "eu.riverton.test"};
    for (int i = 0; i < 4; ++i)
        AddRealm(directory.kdcTable, chain[i], {"127.0.0.1:" + std::to_string(std::stoi(argv[2]) + i)});
    for (int i = 0; i + 1 < 4; ++i) {
        AddTrust(directory.trustTable, chain[i], chain[i + 1]);
        AddTrust(directory.trustTable, chain[i + 1], chain[i]);
    }
    DialogState state;
    state.selectedItems = {"d-c a.ashgrove.test", "--- north.fenwick.test", "--- lab.corbel.test",
                           "-s- eu.riverton.test"};
    state.tktEnctypes = "aes256-cts-hmac-sha1-96, aes128-cts-hmac-sha1-96";
    struct Family {
        const char* file;
        bool mit, heimdal, java;
    };
    for (const Family family : {Family{"mit.conf", true, false, false}, Family{"heimdal.conf", false, true, false},
                                Family{"java.conf", false, false, true}}) {
        state.mitClients = family.mit;
        state.heimdalClients = family.heimdal;
        state.javaClients = family.java;
        std::ofstream out(std::string(argv[1]) + "/" + family.file, std::ios::binary);
        GenerateConfigText(state, directory, ConfigTextWriter{out});
        if (!out) {
            std::cerr << "write_client_configs: cannot write " << argv[1] << "/" << family.file << "\n";
            return 1;
        }
    }
    return 0;
}
