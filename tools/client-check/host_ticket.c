/* Gets a service ticket for host/HOST with a password, through MIT's or Heimdal's library alone. */
#include <krb5.h>
#include <stdio.h>
#include <string.h>

/* Usage: host_ticket USER@REALM PASSWORD HOST. Prints the ticket's server, or the library's error. */
int main(int argc, char** argv)
{
    krb5_context context;
    krb5_principal user = NULL;
    krb5_principal service = NULL;
    krb5_creds initial;
    krb5_creds wanted;
    krb5_creds* got = NULL;
    krb5_ccache cache = NULL;
    krb5_error_code error;
    char* name = NULL;
    if (argc != 4) {
        fprintf(stderr, "usage: host_ticket USER@REALM PASSWORD HOST\n");
        return 2;
    }
    if (krb5_init_context(&context) != 0)
        return 1;
    memset(&initial, 0, sizeof initial);
    memset(&wanted, 0, sizeof wanted);
    /* The service by host name, as ssh and curl ask: the library picks its realm. */
    error = krb5_parse_name(context, argv[1], &user);
    if (error == 0)
        error = krb5_get_init_creds_password(context, &initial, user, argv[2], NULL, NULL, 0, NULL, NULL);
    if (error == 0)
        error = krb5_cc_resolve(context, "MEMORY:host_ticket", &cache);
    if (error == 0)
        error = krb5_cc_initialize(context, cache, user);
    if (error == 0)
        error = krb5_cc_store_cred(context, cache, &initial);
    if (error == 0)
        error = krb5_sname_to_principal(context, argv[3], "host", KRB5_NT_SRV_HST, &service);
    if (error == 0) {
        wanted.client = user;
        wanted.server = service;
        error = krb5_get_credentials(context, 0, cache, &wanted, &got);
    }
    if (error == 0)
        error = krb5_unparse_name(context, got->server, &name);
    if (error != 0) {
        const char* message = krb5_get_error_message(context, error);
        printf("failed: %s\n", message);
        krb5_free_error_message(context, message);
        return 1;
    }
    printf("ticket for %s\n", name);
    return 0;
}
